#include "dialogs/template_choice_window.h"

#include "support/gui_modal.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

class TemplateChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = m_dir.path() + u'/';
        for (const char *name : {"b.lxd", "Default.lxd", "Ärger.lxd", "a.lxd", "Zettel.LXD",
                                 "notes.txt", "lxd", "x.lxd.bak"})
            touch(QString::fromUtf8(name));
        QDir().mkpath(m_folder + QStringLiteral("folder.lxd"));
    }

    void touch(const QString &name)
    {
        QFile f(m_folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < m_form.ComboBox_Template->count(); ++i)
            out << m_form.ComboBox_Template->itemText(i);
        return out;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    TemplateChoiceWindow m_form;
};

TEST_F(TemplateChoice, ComponentsAndCaptions)
{
    EXPECT_EQ(m_form.GroupBox1->title(), QStringLiteral("Vorlage"));
    EXPECT_FALSE(m_form.ComboBox_Template->isEditable());
    EXPECT_EQ(m_form.Button_OK->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(m_form.Button_OK->isDefault());
    EXPECT_EQ(m_form.Button_Cancel->text(), QStringLiteral("Ab&brechen"));
}

TEST_F(TemplateChoice, ListsTheTemplateDatabasesSortedAfterNoTemplate)
{
    m_form.fill(m_folder, QString());
    EXPECT_EQ(entries(), QStringList({QStringLiteral("Keine Vorlage verwenden"), QStringLiteral("a.lxd"),
                                      QStringLiteral("Ärger.lxd"), QStringLiteral("b.lxd"),
                                      QStringLiteral("Default.lxd"), QStringLiteral("Zettel.LXD")}));
    EXPECT_EQ(m_form.ComboBox_Template->currentIndex(), 0);
    EXPECT_TRUE(m_form.chosenTemplate().isEmpty());

    // Filled anew each time: a removed file is gone, nothing is listed twice.
    ASSERT_TRUE(QFile::remove(m_folder + QStringLiteral("b.lxd")));
    m_form.fill(m_folder, QString());
    EXPECT_EQ(entries().size(), 5);
    EXPECT_FALSE(entries().contains(QStringLiteral("b.lxd")));

    m_form.fill(m_dir.filePath(QStringLiteral("missing/")), QStringLiteral("Default.lxd"));
    EXPECT_EQ(entries(), QStringList({QStringLiteral("Keine Vorlage verwenden")}));
}

TEST_F(TemplateChoice, PreselectsTheStandardTemplateWithoutRegardToCase)
{
    const struct {
        QString defTemplate;
        QString selected;
    } cases[] = {
        {QStringLiteral("Default.lxd"), QStringLiteral("Default.lxd")},
        {QStringLiteral("DEFAULT.LXD"), QStringLiteral("Default.lxd")},
        {QStringLiteral("ärger.lxd"), QStringLiteral("Ärger.lxd")},
        {QStringLiteral("gone.lxd"), QStringLiteral("Keine Vorlage verwenden")},
        {QString(), QStringLiteral("Keine Vorlage verwenden")},
    };
    for (const auto &c : cases) {
        m_form.fill(m_folder, c.defTemplate);
        EXPECT_EQ(m_form.ComboBox_Template->currentText(), c.selected) << c.defTemplate.toStdString();
    }
}

TEST_F(TemplateChoice, ChooseReturnsTheChosenEntryOrNothing)
{
    // OK on a template database.
    test::whenModal([&](QWidget *) {
        m_form.ComboBox_Template->setCurrentText(QStringLiteral("b.lxd"));
        QTest::mouseClick(m_form.Button_OK, Qt::LeftButton);
    });
    EXPECT_EQ(m_form.choose(QStringLiteral("Neue Datenbank"), m_folder, QStringLiteral("Default.lxd")),
              std::optional<QString>(QStringLiteral("b.lxd")));
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Neue Datenbank"));

    // OK on the preselected entry with Enter.
    test::whenModal([&](QWidget *) { QTest::keyClick(m_form.ComboBox_Template, Qt::Key_Return); });
    EXPECT_EQ(m_form.choose(QStringLiteral("Standard-Vorlage"), m_folder, QStringLiteral("default.lxd")),
              std::optional<QString>(QStringLiteral("Default.lxd")));
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Standard-Vorlage"));

    // "Keine Vorlage verwenden" is an empty name.
    test::whenModal([&](QWidget *) {
        m_form.ComboBox_Template->setCurrentIndex(0);
        QTest::mouseClick(m_form.Button_OK, Qt::LeftButton);
    });
    EXPECT_EQ(m_form.choose(QStringLiteral("Neue Datenbank"), m_folder, QStringLiteral("Default.lxd")),
              std::optional<QString>(QString()));

    // Cancel, by the button or Escape.
    test::whenModal([&](QWidget *) { QTest::mouseClick(m_form.Button_Cancel, Qt::LeftButton); });
    EXPECT_EQ(m_form.choose(QStringLiteral("Neue Datenbank"), m_folder, QString()), std::nullopt);
    test::whenModal([&](QWidget *) { QTest::keyClick(m_form.ComboBox_Template, Qt::Key_Escape); });
    EXPECT_EQ(m_form.choose(QStringLiteral("Neue Datenbank"), m_folder, QString()), std::nullopt);
}

} // namespace
