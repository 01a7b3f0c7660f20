#include "dialogs/encryption_window.h"

#include "database/win1252.h"
#include "document/document.h"
#include "help/balloons.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

namespace lexora {

namespace {

// The password is stored as Windows-1252: a character it lacks would silently become '?', so the
// field takes only characters that it has.
class Win1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return win1252::firstUnencodable(input) < 0 ? Acceptable : Invalid;
    }
};

constexpr int maxPasswordLength = 16;

} // namespace

EncryptionWindow::EncryptionWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Verschlüsselung"));

    CheckBox_Encryption = new QCheckBox(QStringLiteral("Verschlüsselung aktivieren"), this);
    CheckBox_Encryption->setObjectName(QStringLiteral("CheckBox_Encryption"));

    Label_Password = new QLabel(QStringLiteral("Passwort:"), this);
    Label_Password->setObjectName(QStringLiteral("Label_Password"));
    Edit_Password = new QLineEdit(this);
    Edit_Password->setObjectName(QStringLiteral("Edit_Password"));
    Edit_Password->setMaxLength(maxPasswordLength);
    Edit_Password->setValidator(new Win1252Validator(Edit_Password));
    Edit_Password->setEnabled(false);
    Label_Password->setBuddy(Edit_Password);

    RadioButton_Compatible = new QRadioButton(QStringLiteral("Kompatible Verschlüsselung"), this);
    RadioButton_Compatible->setObjectName(QStringLiteral("RadioButton_Compatible"));
    Label_CompatibleInfo = new QLabel(
        QStringLiteral("Lässt sich auch mit älteren Lexora-Versionen öffnen, schützt aber nur vor "
                       "einem flüchtigen Blick: Wer die Datei hat, kann sie ohne das Passwort lesen."),
        this);
    RadioButton_Strong = new QRadioButton(QStringLiteral("Starke Verschlüsselung"), this);
    RadioButton_Strong->setObjectName(QStringLiteral("RadioButton_Strong"));
    Label_StrongInfo = new QLabel(
        QStringLiteral("Schützt den Inhalt vor jedem, der das Passwort nicht kennt, und erkennt jede "
                       "Veränderung der Datei. Ältere Lexora-Versionen können sie nicht öffnen."),
        this);
    for (QLabel *info : {Label_CompatibleInfo, Label_StrongInfo}) {
        info->setWordWrap(true);
        info->setFixedWidth(280);
        info->setIndent(20);
    }
    Label_CompatibleInfo->setObjectName(QStringLiteral("Label_CompatibleInfo"));
    Label_StrongInfo->setObjectName(QStringLiteral("Label_StrongInfo"));
    Label_CompatibleInfo->setBuddy(RadioButton_Compatible);
    Label_StrongInfo->setBuddy(RadioButton_Strong);
    RadioButton_Compatible->setChecked(true);

    Button_OK = new QPushButton(QStringLiteral("OK"), this);
    Button_OK->setObjectName(QStringLiteral("Button_OK"));
    Button_OK->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_OK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CheckBox_Encryption);
    layout->addWidget(Label_Password);
    layout->addWidget(Edit_Password);
    layout->addWidget(RadioButton_Compatible);
    layout->addWidget(Label_CompatibleInfo);
    layout->addWidget(RadioButton_Strong);
    layout->addWidget(Label_StrongInfo);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Edit_Password->setFixedWidth(280);

    connect(CheckBox_Encryption, &QCheckBox::clicked, this, &EncryptionWindow::CheckBox_EncryptionClick);
    connect(Button_OK, &QPushButton::clicked, this, &QDialog::accept);
}

void EncryptionWindow::editEncryption(Document &document)
{
    setFromDatabase(document.database());
    exec();
    storeInto(document);
}

void EncryptionWindow::setFromDatabase(const Database &db)
{
    CheckBox_Encryption->setChecked(db.Encrypted);
    Edit_Password->setText(win1252::toUnicode(db.Password.exposed().left(maxPasswordLength)));
    (db.Encryption == EncryptionMode::Strong ? RadioButton_Strong : RadioButton_Compatible)
        ->setChecked(true);
    CheckBox_EncryptionClick();
}

void EncryptionWindow::storeInto(Document &document) const
{
    QByteArray password = win1252::fromUnicode(Edit_Password->text());
    document.setEncryption(CheckBox_Encryption->isChecked(),
                           RadioButton_Strong->isChecked() ? EncryptionMode::Strong
                                                           : EncryptionMode::Compatible,
                           SecretBytes::taking(std::move(password)));
}

void EncryptionWindow::CheckBox_EncryptionClick()
{
    const bool on = CheckBox_Encryption->isChecked();
    for (QWidget *control : {static_cast<QWidget *>(Edit_Password), static_cast<QWidget *>(RadioButton_Compatible),
                             static_cast<QWidget *>(RadioButton_Strong)})
        control->setEnabled(on);
}

void EncryptionWindow::done(int result)
{
    if (CheckBox_Encryption->isChecked() && Edit_Password->text().isEmpty()) {
        Edit_Password->setFocus();
        Balloons::warn(Edit_Password, QStringLiteral("Sie müssen ein Passwort angeben, mit dem die "
                                                     "Datei verschlüsselt werden soll."));
        return;
    }
    QDialog::done(result);
}

} // namespace lexora
