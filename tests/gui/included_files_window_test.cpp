// "Eingebundene Dateien" in the running program: opened from its menu entry, adding through the
// file dialog and by a drop, renaming in place with F2, removing after the question.
#include "files/included_files_window.h"

#include "app/window_manager.h"
#include "database/win1252.h"
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/gui_activation.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

class IncludedFilesWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        sources = home + QStringLiteral("quellen/");
        QDir().mkpath(sources);
    }
    QString source(const char *name, qsizetype size)
    {
        const QString path = sources + QString::fromUtf8(name);
        writeFileBytes(path, QByteArray(size, 'x'));
        return path;
    }
    // Each row as "Dateiname|Größe", the rows joined by ", ".
    std::string rows(const IncludedFilesWindow &form) const { return rowList(form).join(", ").toStdString(); }
    QStringList rowList(const IncludedFilesWindow &form) const
    {
        QStringList out;
        const QAbstractItemModel *model = form.ListView_Files->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out.append(model->index(r, 0).data().toString() + '|'
                       + model->index(r, 1).data().toString());
        return out;
    }
    void selectRow(IncludedFilesWindow &form, int row)
    {
        const QModelIndex index = form.ListView_Files->model()->index(row, 0);
        QTest::mouseClick(form.ListView_Files->viewport(), Qt::LeftButton, {},
                          form.ListView_Files->visualRect(index).center());
    }
    // Renames the selected entry in place: F2, the new text, Enter.
    void renameTo(IncludedFilesWindow &form, const QString &name)
    {
        QTest::keyClick(form.ListView_Files, Qt::Key_F2);
        auto *editor = form.ListView_Files->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr) << "F2 starts editing the name";
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    bool stored(const char *name)
    {
        return QFileInfo::exists(db().includedFilePath(name));
    }

    QString sources;
};

TEST_F(IncludedFilesWindowTest, TheMenuEntryOpensIt)
{
    start();
    QAction *command = window->command("MenuItem_IncludedFiles");
    ASSERT_TRUE(command->isEnabled());
    QWidget *shown = nullptr;
    whenModal([&](QWidget *modal) {
        shown = modal;
        QTest::mouseClick(static_cast<IncludedFilesWindow *>(modal)->Button_Close, Qt::LeftButton);
    });
    command->trigger();
    EXPECT_EQ(shown, &app->includedFiles());
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("Eingebundene Dateien"));
}

TEST_F(IncludedFilesWindowTest, AddDropRenameAndRemove)
{
    start();
    IncludedFilesWindow &form = app->includedFiles();
    form.show();
    ASSERT_TRUE(activate(&form));
    EXPECT_FALSE(form.Button_Del->isEnabled());
    EXPECT_FALSE(form.Button_Rename->isEnabled());

    dialogs.includedFiles.enqueue({source("zeta.txt", 1536), source("Bild.png", 1023)});
    QTest::mouseClick(form.Button_Add, Qt::LeftButton);
    EXPECT_EQ(rows(form), "Bild.png|1023 Byte, zeta.txt|1,5 KB");
    EXPECT_TRUE(stored("Bild.png"));

    // A drop from the file manager; a taken name is asked for again.
    prompt.giveInput(QStringLiteral("bild2.png"));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(source("leer.txt", 0)),
                  QUrl::fromLocalFile(source("Bild.png", 1024))});
    const QPoint at = form.ListView_Files->viewport()->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.ListView_Files->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.ListView_Files->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QTRY_COMPARE(rowList(form).size(), 4);
    EXPECT_EQ(rows(form), "Bild.png|1023 Byte, bild2.png|1 KB, leer.txt|0 Byte, zeta.txt|1,5 KB");
    EXPECT_TRUE(prompt.allAnswersUsed());

    // F2 renames in place; the entry stays selected at its new place.
    selectRow(form, 3);
    EXPECT_TRUE(form.Button_Rename->isEnabled());
    renameTo(form, QStringLiteral("alpha.txt"));
    EXPECT_EQ(rowList(form).first(), QStringLiteral("alpha.txt|1,5 KB"));
    EXPECT_TRUE(stored("alpha.txt"));
    EXPECT_FALSE(stored("zeta.txt"));
    QTRY_COMPARE(form.selectedFiles().size(), 1);
    EXPECT_EQ(form.selectedFiles()[0]->Name, Text("alpha.txt"));

    // A name with a path is refused with a message; the file keeps its name.
    renameTo(form, QStringLiteral("../alpha.txt"));
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("Ungültiger Dateiname"));
    EXPECT_EQ(rowList(form).first(), QStringLiteral("alpha.txt|1,5 KB"));
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("Included Files/alpha.txt")));

    // Removing two entries asks once and deletes both stored files.
    selectRow(form, 0);
    QTest::mouseClick(form.ListView_Files->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      form.ListView_Files->visualRect(form.ListView_Files->model()->index(2, 0))
                          .center());
    ASSERT_EQ(form.selectedFiles().size(), 2);
    prompt.answer(UserPrompt::Answer::No);
    QTest::mouseClick(form.Button_Del, Qt::LeftButton);
    EXPECT_EQ(rowList(form).size(), 4);
    prompt.answer(UserPrompt::Answer::Yes);
    QTest::mouseClick(form.Button_Del, Qt::LeftButton);
    EXPECT_EQ(prompt.shown().last().text,
              QStringLiteral("Sollen die markierten Dateien wirklich entfernt werden?"));
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("Löschen bestätigen"));
    EXPECT_EQ(rows(form), "Bild.png|1023 Byte, leer.txt|0 Byte");
    EXPECT_FALSE(stored("alpha.txt"));
    EXPECT_FALSE(stored("bild2.png"));
    EXPECT_FALSE(form.Button_Del->isEnabled());
    EXPECT_TRUE(doc().isModified());
    form.close();
}

} // namespace
