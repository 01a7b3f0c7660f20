#include "dialogs/template_choice_window.h"

#include "support/dialog_buttons.h"

#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lexora {

namespace {

const QString noTemplate = QStringLiteral("Keine Vorlage verwenden");

} // namespace

TemplateChoiceWindow::TemplateChoiceWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm5"));

    GroupBox1 = new QGroupBox(QStringLiteral("Vorlage"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ComboBox_Template = new QComboBox(GroupBox1);
    ComboBox_Template->setObjectName(QStringLiteral("ComboBox_Template"));
    ComboBox_Template->setEditable(false);
    ComboBox_Template->setMinimumWidth(260);
    ComboBox_Template->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->addWidget(ComboBox_Template);

    const DialogButtons buttons = makeDialogButtons(this);
    Button_OK = buttons.accept;
    Button_Cancel = buttons.cancel;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button_OK, &QPushButton::clicked, this, &QDialog::accept);
}

std::optional<QString> TemplateChoiceWindow::choose(const QString &caption, const QString &templatesFolder,
                                      const QString &defTemplate)
{
    setWindowTitle(caption);
    fill(templatesFolder, defTemplate);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return chosenTemplate();
}

void TemplateChoiceWindow::fill(const QString &templatesFolder, const QString &defTemplate)
{
    ComboBox_Template->clear();
    QStringList names = QDir(templatesFolder)
                            .entryList({QStringLiteral("*.lxd")}, QDir::Files,
                                       QDir::NoSort);
    const QLocale german(QLocale::German, QLocale::Germany);
    QCollator collator(german);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    names.prepend(noTemplate);
    ComboBox_Template->addItems(names);

    // The first entry equal to the standard template without regard to case; else entry 0.
    const QString wanted = german.toUpper(defTemplate);
    int chosen = 0;
    for (int i = 1; i < names.size() && chosen == 0 && !defTemplate.isEmpty(); ++i)
        if (german.toUpper(names[i]) == wanted)
            chosen = i;
    ComboBox_Template->setCurrentIndex(chosen);
}

QString TemplateChoiceWindow::chosenTemplate() const
{
    const int index = ComboBox_Template->currentIndex();
    return index > 0 ? ComboBox_Template->itemText(index) : QString();
}

} // namespace lexora
