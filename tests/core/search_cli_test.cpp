#include "support/run_cli.h"

#include "database/file_format.h"
#include "support/progress.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace lexora {
namespace {

using test::runCli;

QString dayText(DateTime day)
{
    return QDate(1899, 12, 30).addDays(qint64(day)).toString(QStringLiteral("dd.MM.yyyy"));
}

// Top level:
//   Übersicht (key)
//     Hinweis zur Größe (item, template Rahmen, created 45000 late, by anna)
//     Unter (key)
//       tief (item, no template, created 45001, by bert, line breaks off)
//   Hinweise (key)
//   oben (item, template Rahmen)
class SearchCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Database db;
        db.IncludedFilesFolder = dir.filePath(QStringLiteral("files/"));
        db.HTMLTemplates.push_back(std::make_unique<TTemplate>(
            TTemplate{"Rahmen", "<p>Hinweis im Rahmen</p>%text%", ""}));
        db.CSSTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Stil", "", ""}));
        TTemplate *frame = db.HTMLTemplates.back().get();
        Node &top = db.topLevel();
        Node *overview = top.appendChild("\xDC" "bersicht");
        addItem(*overview, "Hinweis zur Gr\xF6\xDF" "e", "Ein <b>Hinweis</b>", 45000.9, "anna", frame,
                true);
        Node *below = overview->appendChild("Unter");
        addItem(*below, "tief", "hinweis tief", 45001, "bert", nullptr, false);
        top.appendChild("Hinweise");
        addItem(top, "oben", "nichts", 45002, "anna", frame, true);
        NoProgress progress;
        file = dir.filePath(QStringLiteral("fixture.lxd"));
        SaveDatabase(db, file, false, progress);
    }

    static void addItem(Node &parent, const char *name, const char *code, DateTime created,
                        const char *user, TTemplate *html, bool autoFormat)
    {
        Node *node = parent.appendChild(name);
        auto item = std::make_unique<TTipItem>();
        item->Code = code;
        item->Created = item->Modified = created;
        item->CreatedBy = item->ModifiedBy = user;
        item->HTMLTemplate = html;
        item->AutoFormat = autoFormat;
        node->setItem(std::move(item));
    }

    QString search(QStringList options, int expectedExit = 0)
    {
        options.prepend(file);
        options.prepend(QStringLiteral("search"));
        const test::CliRun run = runCli(options);
        EXPECT_EQ(run.exitCode, expectedExit) << run.err.toStdString();
        return QString::fromUtf8(expectedExit == 0 ? run.out : run.err);
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(SearchCliTest, DefaultsSearchNamesAndCodesFromTheTopLevel)
{
    EXPECT_EQ(search({QStringLiteral("Hinweis")}),
              QStringLiteral("Übersicht\\Hinweis zur Größe\tEintragsname, Quellcode\n"
                             "Übersicht\\Unter\\tief\tQuellcode\n"
                             "Hinweise\tEintragsname\n"));
}

TEST_F(SearchCliTest, OptionsShapeTheQuery)
{
    const struct {
        QStringList args;
        QString expected;
    } cases[] = {
        {{"Hinweis", "--places", "texts"},
         "Übersicht\\Hinweis zur Größe\tAnzeigetext\nÜbersicht\\Unter\\tief\tAnzeigetext\n"
         "oben\tAnzeigetext\n"},
        {{"Hinweis", "--places", "keys"}, "Hinweise\tEintragsname\n"},
        {{"Hinweis", "--exact-case"}, "Übersicht\\Hinweis zur Größe\tEintragsname, Quellcode\n"
                                      "Hinweise\tEintragsname\n"},
        {{"Hinweis", "--whole-words", "--places", "codes"}, "Übersicht\\Unter\\tief\tQuellcode\n"},
        {{"tief nichts", "--any", "--places", "codes"},
         "Übersicht\\Unter\\tief\tQuellcode\noben\tQuellcode\n"},
        {{"tief nichts"}, ""},
        {{"*", "--scope", "Übersicht", "--no-recursive"},
         "Übersicht\\Hinweis zur Größe\tEintragsname, Quellcode\nÜbersicht\\Unter\tEintragsname\n"},
        {{"*", "--scope", "Übersicht\\Unter", "--scope", "Übersicht"},
         "Übersicht\\Hinweis zur Größe\tEintragsname, Quellcode\nÜbersicht\\Unter\tEintragsname\n"
         "Übersicht\\Unter\\tief\tEintragsname, Quellcode\n"},
        {{"*", "--scope", "Übersicht\\Unter", "--scope", "Hinweise", "--no-recursive"},
         "Übersicht\\Unter\\tief\tEintragsname, Quellcode\n"},
        {{"e", "--places", "names", "--created", "1:" + dayText(45000)},
         "Übersicht\\Hinweis zur Größe\tEintragsname\n"},
        {{"e", "--places", "names", "--created", "2:" + dayText(45000)},
         "Übersicht\\Unter\\tief\tEintragsname\noben\tEintragsname\n"},
        {{"e", "--places", "names", "--modified", "0:" + dayText(45002)},
         "Übersicht\\Hinweis zur Größe\tEintragsname\nÜbersicht\\Unter\\tief\tEintragsname\n"},
        {{"e", "--places", "names", "--creator", "1:anna"}, "Übersicht\\Unter\\tief\tEintragsname\n"},
        {{"e", "--places", "names", "--modifier", "0:anna"},
         "Übersicht\\Hinweis zur Größe\tEintragsname\noben\tEintragsname\n"},
        {{"e", "--places", "names", "--html-template", "0:"}, "Übersicht\\Unter\\tief\tEintragsname\n"},
        {{"e", "--places", "names", "--html-template", "1:Rahmen"},
         "Übersicht\\Unter\\tief\tEintragsname\n"},
        {{"e", "--places", "names", "--css-template", "0:Stil"}, ""},
        {{"e", "--places", "keys,names", "--autoformat", "off"},
         "Übersicht\tEintragsname\nÜbersicht\\Unter\tEintragsname\n"
         "Übersicht\\Unter\\tief\tEintragsname\nHinweise\tEintragsname\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(search(c.args), c.expected) << c.args.join(QLatin1Char(' ')).toStdString();
}

TEST_F(SearchCliTest, HighlightPrintsThePiecesOfOneNode)
{
    const QString out = search({QStringLiteral("hinweis"), QStringLiteral("--highlight"),
                                QStringLiteral("Übersicht\\Hinweis zur Größe")});
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    auto pieces = [](std::initializer_list<std::pair<bool, const char *>> list) {
        QJsonArray array;
        for (const auto &[hit, text] : list)
            array.append(QJsonArray{hit, QString::fromUtf8(text)});
        return array;
    };
    EXPECT_EQ(json.value(QStringLiteral("title")).toArray(),
              pieces({{true, "Hinweis"}, {false, " zur Größe"}}));
    EXPECT_EQ(json.value(QStringLiteral("code")).toArray(),
              pieces({{false, "Ein <b>"}, {true, "Hinweis"}, {false, "</b>"}}));
    EXPECT_EQ(json.value(QStringLiteral("text")).toArray(),
              pieces({{true, "Hinweis"}, {false, " im Rahmen\n\nEin "}, {true, "Hinweis"},
                      {false, ""}}));

    const QJsonObject key = QJsonDocument::fromJson(
        search({QStringLiteral("x"), QStringLiteral("--highlight"), QStringLiteral("Hinweise")})
            .toUtf8()).object();
    EXPECT_EQ(key.value(QStringLiteral("title")).toArray(), pieces({{false, "Hinweise"}}));
    EXPECT_EQ(key.value(QStringLiteral("code")).toArray(), QJsonArray());
    EXPECT_EQ(key.value(QStringLiteral("text")).toArray(), QJsonArray());
}

TEST_F(SearchCliTest, BadInputIsRefusedWithAMessage)
{
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{""}, "Sie haben keine Stichwörter definiert."},
        {{"x", "--places", ""}, "Sie müssen mindestens eine Stelle"},
        {{"x", "--places", "bodies"}, "bodies"},
        {{"x", "--scope", "Nirgends"}, "Nirgends"},
        {{"x", "--scope", "oben"}, "kein Schlüssel"},
        {{"x", "--created", "3:01.01.2020"}, "--created"},
        {{"x", "--created", "1:2020-01-01"}, "2020-01-01"},
        {{"x", "--creator", "0:"}, "Sie müssen einen Benutzernamen für die Bedingung \"Ersteller\""},
        {{"x", "--html-template", "0:Fehlt"}, "Fehlt"},
        {{"x", "--autoformat", "ja"}, "--autoformat"},
        {{"x", "y"}, "y"},
        {{"x", "--highlight", "Nirgends"}, "Nirgends"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(search(c.args, 1).contains(QString::fromUtf8(c.message)))
            << c.args.join(QLatin1Char(' ')).toStdString();
}

} // namespace
} // namespace lexora
