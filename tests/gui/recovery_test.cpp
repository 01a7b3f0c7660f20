// The program ended by the system with unsaved changes: it leaves a recovery copy, and its next
// start offers the changes back, as the modified database of their file.
#include "document/recovery_copies.h"
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"

#include <QFileInfo>

using namespace lexora;
using namespace lexora::test;

namespace {

using RecoveryInProgramTest = MainWindowTest;

TEST_F(RecoveryInProgramTest, AnEndWithoutQuestionsLeavesACopyTheNextStartOffers)
{
    start();
    const QString file = home + QStringLiteral("notizen.lxd");
    doc().saveAs(file);
    doc().newKey(nullptr);
    const std::string changed = describeDatabase(db());
    app->endWithoutQuestions();
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("Settings.ini")));
    EXPECT_TRUE(prompt.shown().isEmpty()) << "nothing is asked at such an end";
    app.reset();
    window = nullptr;

    // "Nein" keeps the copy for a later start.
    prompt.answer(UserPrompt::Answer::No);
    start(file);
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_TRUE(prompt.shown()[0].text.startsWith(
        QStringLiteral("Für die Datei „%1“ gibt es ungespeicherte Änderungen vom ").arg(file)))
        << prompt.shown()[0].text.toStdString();
    EXPECT_TRUE(prompt.shown()[0].text.endsWith(QStringLiteral(". Sollen sie wiederhergestellt werden?")));
    EXPECT_FALSE(doc().isModified());
    finish();

    prompt.answer(UserPrompt::Answer::Yes);
    start(file);
    EXPECT_EQ(describeDatabase(db()), changed);
    EXPECT_EQ(doc().currentFileName(), file);
    EXPECT_TRUE(doc().isModified()) << "the changes are still to be saved";

    // Saved: the copy has done its work.
    ASSERT_TRUE(doc().save([] { return std::nullopt; }));
    EXPECT_TRUE(RecoveryCopies(RecoveryCopies::standardFolder()).pending().empty());
}

} // namespace
