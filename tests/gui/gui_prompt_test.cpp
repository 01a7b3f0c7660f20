#include "support/german_translation.h"
#include "support/gui_prompt.h"

#include "support/gui_modal.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

class GuiPromptTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(installGermanTranslation()); }

    // Clicks the button of the shown message box that has the text; records the texts seen.
    void clickButton(const QString &text)
    {
        test::whenModal([this, text](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            m_caption = box->windowTitle();
            m_text = box->text();
            m_icon = box->icon();
            m_buttons.clear();
            for (QAbstractButton *b : box->buttons())
                m_buttons << b->text().remove(u'&');
            for (QAbstractButton *b : box->buttons())
                if (b->text().remove(u'&') == text)
                    return b->click();
            box->done(0);
        });
    }

    GuiPrompt m_prompt;
    QString m_caption, m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QStringList m_buttons;
};

TEST_F(GuiPromptTest, QuestionsHaveGermanButtons)
{
    const struct {
        UserPrompt::Buttons buttons;
        const char *click;
        UserPrompt::Answer answer;
    } cases[] = {
        {UserPrompt::Buttons::YesNoCancel, "Ja", UserPrompt::Answer::Yes},
        {UserPrompt::Buttons::YesNoCancel, "Nein", UserPrompt::Answer::No},
        {UserPrompt::Buttons::YesNoCancel, "Abbrechen", UserPrompt::Answer::Cancel},
        {UserPrompt::Buttons::YesNo, "Ja", UserPrompt::Answer::Yes},
        {UserPrompt::Buttons::YesNo, "Nein", UserPrompt::Answer::No},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.click);
        clickButton(QString::fromUtf8(c.click));
        EXPECT_EQ(m_prompt.question(QStringLiteral("Lexora"),
                                    QStringLiteral("Wollen Sie die aktuelle Datei vor dem Schließen speichern?"),
                                    c.buttons),
                  c.answer);
        EXPECT_EQ(m_caption, QStringLiteral("Lexora"));
        EXPECT_EQ(m_text, QStringLiteral("Wollen Sie die aktuelle Datei vor dem Schließen speichern?"));
        EXPECT_EQ(m_icon, QMessageBox::Question);
        EXPECT_EQ(m_buttons.size(), c.buttons == UserPrompt::Buttons::YesNo ? 2 : 3);
        EXPECT_TRUE(m_buttons.contains(QStringLiteral("Ja")) && m_buttons.contains(QStringLiteral("Nein")));
    }
}

TEST_F(GuiPromptTest, AQuestionBeforeSomethingFinalShowsTheWarningIcon)
{
    clickButton(QStringLiteral("Nein"));
    EXPECT_EQ(m_prompt.question(QStringLiteral("Lexora"), QStringLiteral("Wirklich?"),
                                UserPrompt::Buttons::YesNo, UserPrompt::Icon::Warning),
              UserPrompt::Answer::No);
    EXPECT_EQ(m_icon, QMessageBox::Warning);
}

TEST_F(GuiPromptTest, ClosingAQuestionIsCancelOrNo)
{
    test::whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(m_prompt.question(QStringLiteral("T"), QStringLiteral("?"), UserPrompt::Buttons::YesNoCancel),
              UserPrompt::Answer::Cancel);
    test::whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(m_prompt.question(QStringLiteral("T"), QStringLiteral("?"), UserPrompt::Buttons::YesNo),
              UserPrompt::Answer::No);
}

TEST_F(GuiPromptTest, MessagesShowCaptionTextAndIcon)
{
    const struct {
        UserPrompt::Icon icon;
        QMessageBox::Icon shown;
    } cases[] = {
        {UserPrompt::Icon::Information, QMessageBox::Information},
        {UserPrompt::Icon::Warning, QMessageBox::Warning},
        {UserPrompt::Icon::Error, QMessageBox::Critical},
    };
    for (const auto &c : cases) {
        clickButton(QStringLiteral("OK"));
        m_prompt.message(c.icon, QStringLiteral("Falsches Passwort"),
                         QStringLiteral("Das angegebene Passwort ist nicht korrekt."));
        EXPECT_EQ(m_caption, QStringLiteral("Falsches Passwort"));
        EXPECT_EQ(m_text, QStringLiteral("Das angegebene Passwort ist nicht korrekt."));
        EXPECT_EQ(m_icon, c.shown);
        EXPECT_EQ(m_buttons, QStringList({QStringLiteral("OK")}));
    }
}

TEST_F(GuiPromptTest, PasswordIsAskedHiddenAndGivenAsWindows1252)
{
    QString caption, label;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    test::whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        label = dialog->labelText();
        echo = dialog->textEchoMode();
        dialog->setTextValue(QStringLiteral("Käse€"));
        dialog->accept();
    });
    EXPECT_EQ(m_prompt.password(QStringLiteral("Passwort"), QStringLiteral("Die Datei \"a.lxd\" ist passwortgeschützt.")),
              QByteArray("K\xE4se\x80"));
    EXPECT_EQ(caption, QStringLiteral("Passwort"));
    EXPECT_EQ(label, QStringLiteral("Die Datei \"a.lxd\" ist passwortgeschützt."));
    EXPECT_EQ(echo, QLineEdit::Password);

    test::whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    EXPECT_TRUE(m_prompt.password(QStringLiteral("Passwort"), QStringLiteral("?")).isEmpty());
}

} // namespace
