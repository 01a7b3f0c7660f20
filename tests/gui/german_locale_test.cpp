// The program speaks German whatever the session's language: standard texts, dates and numbers,
// and the file dialog's list of files.
#include "support/file_dialogs.h"
#include "support/german_translation.h"

#include "support/database_fixtures.h"
#include "support/gui_modal.h"

#include <QAbstractItemView>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace lexora;

namespace {

class GermanLocale : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The session as CI has it: no German anywhere.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(installGermanTranslation());
    }
};

TEST_F(GermanLocale, DatesAndNumbersAreGerman)
{
    EXPECT_EQ(QLocale().language(), QLocale::German);
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 1), QStringLiteral("1.234,5"));
    EXPECT_EQ(QLocale().toString(QDate(2005, 3, 7), QLocale::ShortFormat), QStringLiteral("07.03.05"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
}

TEST_F(GermanLocale, TheFileDialogListsSizesAndDatesInGerman)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Wissen.lxd"));
    test::writeFileBytes(file, QByteArray(1500, 'x'));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the open dialog starts here
    QtFileDialogs dialogs;

    QStringList row;
    test::whenModal([&row](QWidget *modal) {
        auto *view = modal->findChild<QAbstractItemView *>(QStringLiteral("treeView"));
        if (view) {
            (void)QTest::qWaitFor([view] { return view->model()->rowCount(view->rootIndex()) > 0; }, 5000);
            for (int column = 0; column < view->model()->columnCount(view->rootIndex()); ++column)
                row << view->model()->index(0, column, view->rootIndex()).data().toString();
        }
        static_cast<QDialog *>(modal)->reject();
    });
    EXPECT_FALSE(dialogs.openDatabase(nullptr).has_value());
    QDir::setCurrent(previous);

    ASSERT_EQ(row.size(), 4);
    EXPECT_EQ(row[0], QStringLiteral("Wissen.lxd"));
    EXPECT_EQ(row[1], QLocale().formattedDataSize(1500));
    EXPECT_TRUE(row[1].contains(u',')) << row[1].toStdString();
    EXPECT_EQ(row[3], QLocale().toString(QFileInfo(file).lastModified(), QLocale::ShortFormat));
    EXPECT_FALSE(row[2].contains(QStringLiteral("File"))) << row[2].toStdString();
}

} // namespace
