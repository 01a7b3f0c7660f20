#include "dialogs/encryption_window.h"
#include "help/balloon_help.h"
#include "help/balloon_window.h"
#include "help/balloons.h"

#include "support/gui_modal.h"
#include "support/test_document.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

// Types text character by character, also characters that QTest cannot map to keys.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

const QString warningText =
    QStringLiteral("Sie müssen ein Passwort angeben, mit dem die Datei verschlüsselt werden soll.");

TEST(EncryptionWindow, ComponentsAndCaptions)
{
    EncryptionWindow form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Verschlüsselung"));
    EXPECT_EQ(form.CheckBox_Encryption->text(), QStringLiteral("Verschlüsselung aktivieren"));
    EXPECT_EQ(form.Label_Password->text(), QStringLiteral("Passwort:"));
    EXPECT_EQ(form.Label_Password->buddy(), form.Edit_Password);
    EXPECT_EQ(form.Edit_Password->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(form.Edit_Password->maxLength(), 16);
    EXPECT_FALSE(form.Edit_Password->isEnabled());
    EXPECT_EQ(form.Button_OK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(form.Button_OK->isDefault());
    EXPECT_EQ(form.findChild<QCheckBox *>(QStringLiteral("CheckBox_Encryption")), form.CheckBox_Encryption);
}

TEST(EncryptionWindow, ShowsTheSettingOfTheDatabase)
{
    EncryptionWindow form;
    Database db;
    db.Encrypted = true;
    db.Password = "gr\xFC" "n"; // Windows-1252 "grün"
    form.setFromDatabase(db);
    EXPECT_TRUE(form.CheckBox_Encryption->isChecked());
    EXPECT_TRUE(form.Edit_Password->isEnabled());
    EXPECT_EQ(form.Edit_Password->text(), QStringLiteral("grün"));

    db.ClearDatabase();
    form.setFromDatabase(db);
    EXPECT_FALSE(form.CheckBox_Encryption->isChecked());
    EXPECT_FALSE(form.Edit_Password->isEnabled());
    EXPECT_TRUE(form.Edit_Password->text().isEmpty());
}

TEST(EncryptionWindow, TheBoxSwitchesThePasswordField)
{
    EncryptionWindow form;
    form.show();
    QTest::mouseClick(form.CheckBox_Encryption, Qt::LeftButton, {}, QPoint(5, form.CheckBox_Encryption->height() / 2));
    EXPECT_TRUE(form.CheckBox_Encryption->isChecked());
    EXPECT_TRUE(form.Edit_Password->isEnabled());
    QTest::mouseClick(form.CheckBox_Encryption, Qt::LeftButton, {}, QPoint(5, form.CheckBox_Encryption->height() / 2));
    EXPECT_FALSE(form.Edit_Password->isEnabled());
}

TEST(EncryptionWindow, RefusesEveryWayOfClosingWithoutPasswordInTheWarningBalloon)
{
    Balloons balloons;
    TQZBalloonHelp &warning = *balloons.BalloonWarning;
    EncryptionWindow form;
    test::TestDocument doc;
    doc->setEncryption(true, EncryptionMode::Compatible, {});
    form.setFromDatabase(doc->database());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    const std::function<void()> ways[] = {
        [&] { QTest::mouseClick(form.Button_OK, Qt::LeftButton); },
        [&] { QTest::keyClick(form.Edit_Password, Qt::Key_Return); },
        [&] { QTest::keyClick(&form, Qt::Key_Escape); },
        [&] { form.close(); },
        [&] { form.reject(); },
    };
    for (const auto &close : ways) {
        close();
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(warning.isVisible());
        EXPECT_EQ(warning.tipControl(), form.Edit_Password);
        EXPECT_EQ(warning.window()->title(), QStringLiteral("Ungültige oder unvollständige Angaben"));
        EXPECT_EQ(warning.window()->text().remove(QStringLiteral("\r\n")).remove(u' '),
                  QString(warningText).remove(u' '));
        EXPECT_EQ(form.focusWidget(), form.Edit_Password);
        warning.Hide();
    }

    // With a password the window closes, and the balloon goes with it.
    form.close();
    ASSERT_TRUE(warning.isVisible());
    QTest::keyClicks(form.Edit_Password, QStringLiteral("x"));
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(warning.isVisible());
}

TEST(EncryptionWindow, EditingStoresTheSettingWithoutMarkingTheDatabase)
{
    Balloons balloons;
    EncryptionWindow form;
    test::TestDocument doc;
    const Database &db = doc->database();
    bool refusedFirst = false;
    test::whenModal([&](QWidget *modal) {
        EXPECT_EQ(modal, &form);
        QTest::mouseClick(form.CheckBox_Encryption, Qt::LeftButton, {}, QPoint(5, form.CheckBox_Encryption->height() / 2));
        QTest::mouseClick(form.Button_OK, Qt::LeftButton);
        refusedFirst = form.isVisible() && balloons.BalloonWarning->isVisible();
        QTest::keyClicks(form.Edit_Password, QStringLiteral("Geheimnis"));
        QTest::mouseClick(form.Button_OK, Qt::LeftButton);
        if (form.isVisible()) { // do not hang when the window refuses wrongly
            form.CheckBox_Encryption->setChecked(false);
            form.accept();
        }
    });
    form.editEncryption(*doc);
    EXPECT_TRUE(refusedFirst);
    EXPECT_TRUE(db.Encrypted);
    EXPECT_EQ(db.Password, QByteArray("Geheimnis"));
    EXPECT_FALSE(db.DatabaseModified);

    // Switching it off again; an unchecked box with an empty password closes at once.
    test::whenModal([&](QWidget *) {
        QTest::mouseClick(form.CheckBox_Encryption, Qt::LeftButton, {}, QPoint(5, form.CheckBox_Encryption->height() / 2));
        form.Edit_Password->clear();
        QTest::keyClick(&form, Qt::Key_Escape);
        if (form.isVisible())
            form.QDialog::done(0);
    });
    form.editEncryption(*doc);
    EXPECT_FALSE(db.Encrypted);
    EXPECT_TRUE(db.Password.isEmpty());
    EXPECT_FALSE(db.DatabaseModified);
}

TEST(EncryptionWindow, PasswordIsAtMostSixteenWindows1252Characters)
{
    EncryptionWindow form;
    test::TestDocument doc;
    doc->setEncryption(true, EncryptionMode::Compatible, {});
    form.setFromDatabase(doc->database());
    form.show();
    typeText(form.Edit_Password, QStringLiteral("ab€łc"));
    EXPECT_EQ(form.Edit_Password->text(), QStringLiteral("ab€c")); // "ł" has no Windows-1252 byte
    QTest::keyClicks(form.Edit_Password, QStringLiteral("0123456789abcdefgh"));
    EXPECT_EQ(form.Edit_Password->text().size(), 16);
    form.storeInto(*doc);
    EXPECT_EQ(doc->database().Password, QByteArray("ab\x80" "c0123456789ab"));
}

// The kind of encryption goes with the box, shows the database's and becomes the setting.
TEST(EncryptionWindow, ChoiceBetweenCompatibleAndStrongEncryption)
{
    EncryptionWindow form;
    EXPECT_EQ(form.RadioButton_Compatible->text(), QStringLiteral("Kompatible Verschlüsselung"));
    EXPECT_EQ(form.RadioButton_Strong->text(), QStringLiteral("Starke Verschlüsselung"));
    EXPECT_TRUE(form.Label_CompatibleInfo->text().contains(QStringLiteral("flüchtigen Blick")));
    EXPECT_TRUE(form.Label_StrongInfo->text().contains(QStringLiteral("Passwort nicht kennt")));
    test::TestDocument doc;
    form.setFromDatabase(doc->database());
    EXPECT_TRUE(form.RadioButton_Compatible->isChecked());
    EXPECT_FALSE(form.RadioButton_Strong->isEnabled());

    form.show();
    QTest::mouseClick(form.CheckBox_Encryption, Qt::LeftButton, {},
                      QPoint(5, form.CheckBox_Encryption->height() / 2));
    EXPECT_TRUE(form.RadioButton_Strong->isEnabled());
    QTest::mouseClick(form.RadioButton_Strong, Qt::LeftButton, {},
                      QPoint(5, form.RadioButton_Strong->height() / 2));
    QTest::keyClicks(form.Edit_Password, QStringLiteral("stark"));
    form.storeInto(*doc);
    EXPECT_TRUE(doc->database().Encrypted);
    EXPECT_EQ(doc->database().Encryption, EncryptionMode::Strong);
    EXPECT_EQ(doc->database().Password, "stark");

    EncryptionWindow again;
    again.setFromDatabase(doc->database());
    EXPECT_TRUE(again.RadioButton_Strong->isChecked());
    EXPECT_EQ(again.Edit_Password->text(), QStringLiteral("stark"));
}

} // namespace
