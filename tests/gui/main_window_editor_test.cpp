// The item editor and the display settings in the running program: opened from the tree and
// from the menu, storing through the document, refreshing the display, and their settings in
// "Settings.ini".
#include "browser/browser_view.h"
#include "codefield/code_field.h"
#include "editor/item_editor.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "settings/settings.h"
#include "support/gui_child.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "text/today.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>

using namespace lexora;
using namespace lexora::test;

namespace {

class EditorInProgramTest : public MainWindowTest {
protected:
    void doubleClick(Node *node)
    {
        TreeView *tree = window->treeView();
        const QRect r = tree->visualRect(window->treeModel()->indexOf(node));
        // As the window system reports a double click: press, release, double click, release.
        const QPoint at = r.center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
    }
    QString shownText()
    {
        return runJavaScript(window->browser()->page(), QStringLiteral("document.body.innerText")).toString();
    }
};

} // namespace

TEST_F(EditorInProgramTest, DoubleClickOpensTheEditorAndOkStoresAndShowsTheItem)
{
    start();
    Node *key = addKey(nullptr, "K");
    Node *item = addItem(nullptr, "Notiz", "alt");
    TTipItem values = *item->item();
    values.Modified = 40000;
    values.ModifiedBy = "jemand";
    doc().setItem(item, values);
    doc().setModified(false);
    select({item});
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownText().contains(QStringLiteral("alt")); }, 15000));

    // A key opens nothing.
    doubleClick(key);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    bool opened = false;
    whenModal([&](QWidget *modal) {
        opened = modal->objectName() == QStringLiteral("TForm2");
        auto *field = child<CodeField>(modal, "Memo_Content");
        EXPECT_EQ(field->toPlainText(), QStringLiteral("alt"));
        field->selectAll();
        field->insertPlainText(QStringLiteral("<p>neu</p>"));
        child<QComboBox>(modal, "ComboBox_HTMLTemplate")->setCurrentIndex(0);
        child<QPushButton>(modal, "Button_OK")->click();
    });
    doubleClick(item);
    EXPECT_TRUE(opened);
    EXPECT_EQ(item->item()->Code, QByteArray("<p>neu</p>"));
    EXPECT_EQ(item->item()->HTMLTemplate, nullptr);
    EXPECT_EQ(item->item()->Modified, today());
    EXPECT_EQ(item->item()->ModifiedBy, doc().userName());
    EXPECT_TRUE(doc().isModified());
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownText() == QStringLiteral("neu"); }, 15000))
        << shownText().toStdString();
}

TEST_F(EditorInProgramTest, CancelLeavesItemDisplayAndModifiedFlag)
{
    start();
    Node *item = addItem(nullptr, "Notiz", "alt");
    doc().setModified(false);
    select({item});
    whenModal([](QWidget *modal) {
        child<CodeField>(modal, "Memo_Content")->setPlainText(QStringLiteral("anders"));
        child<QCheckBox>(modal, "CheckBox_AutoFormat")->click();
        child<QPushButton>(modal, "Button_Cancel")->click();
    });
    doubleClick(item);
    EXPECT_EQ(item->item()->Code, QByteArray("alt"));
    EXPECT_TRUE(item->item()->AutoFormat);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(EditorInProgramTest, SettingsComeFromSettingsIniAndGoBackThere)
{
    const QString file = home + QStringLiteral("Settings.ini");
    Settings written;
    written.F2_Wrap = true;
    written.F2_RightArea = 260;
    written.F2_Width = 820;
    written.F2_Height = 540;
    written.TabStop = 20;
    written.F2_Font.Name = QStringLiteral("DejaVu Sans Mono");
    written.F2_Font.Size = 11;
    written.F2_Font.Italic = true;
    written.F3_Font.Size = 13;
    saveSettings(file, written);

    start();
    Node *item = addItem(nullptr, "Notiz", "a\tb");
    whenModal([](QWidget *modal) {
        EXPECT_TRUE(child<QToolButton>(modal, "ToolButton_WantWrap")->isChecked());
        auto *field = child<CodeField>(modal, "Memo_Content");
        EXPECT_TRUE(field->wraps());
        EXPECT_EQ(field->tabStopUnits(), 20);
        EXPECT_EQ(field->font().pointSize(), 11);
        EXPECT_TRUE(field->font().italic());
        EXPECT_EQ(modal->size(), QSize(820, 540));
        EXPECT_EQ(child<QWidget>(modal, "Panel_RightArea")->width(), 260);
        child<QToolButton>(modal, "ToolButton_WantWrap")->click();
        EXPECT_FALSE(field->wraps());
        modal->resize(850, 600);
        child<QPushButton>(modal, "Button_Cancel")->click();
    });
    Q_EMIT app->requests().editItem(item);

    // "Ansicht > Editierfelder..." is there and changes every code field.
    QAction *displaySettings = window->findChild<QAction *>(QStringLiteral("Editierfelder1"));
    ASSERT_NE(displaySettings, nullptr);
    EXPECT_TRUE(displaySettings->isEnabled());
    whenModal([](QWidget *modal) {
        EXPECT_EQ(modal->objectName(), QStringLiteral("TForm4"));
        child<QSlider>(modal, "TrackBar_TabStopPosition")->setValue(30);
        child<QPushButton>(modal, "Button_OK")->click();
    });
    displaySettings->trigger();
    EXPECT_EQ(window->findChild<ItemEditor *>()->findChild<CodeField *>(QStringLiteral("Memo_Content"))->tabStopUnits(), 30);

    finish();
    const Settings read = loadSettings(file, Settings{});
    EXPECT_FALSE(read.F2_Wrap);
    EXPECT_EQ(read.F2_Width, 850);
    EXPECT_EQ(read.F2_Height, 600);
    EXPECT_FALSE(read.F2_Maximized);
    EXPECT_EQ(read.TabStop, 30);
    EXPECT_EQ(read.F2_Font.Name, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(read.F2_Font.Size, 11);
    EXPECT_TRUE(read.F2_Font.Italic);
    EXPECT_EQ(read.F3_Font.Size, 13);
    EXPECT_EQ(read.F2_Font.Color, written.F2_Font.Color);
}
