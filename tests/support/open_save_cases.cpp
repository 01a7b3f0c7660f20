#include "support/open_save_cases.h"

#include "database/file_format.h"
#include "support/database_fixtures.h"
#include "support/progress.h"

namespace lexora::test {
namespace {

QString writeDatabase(const QString &path, bool encrypted)
{
    Database db;
    db.topLevel().appendChild("A");
    Node *item = db.topLevel().appendChild("B");
    item->setItem(std::make_unique<TTipItem>());
    db.Encrypted = encrypted;
    db.Password = encrypted ? "geheim" : "";
    NoProgress progress;
    SaveDatabase(db, path, false, progress);
    return path;
}

} // namespace

std::vector<OpenCase> writeOpenCases(const QString &folder)
{
    const QString good = writeDatabase(folder + QStringLiteral("gut.lxd"), false);
    const QString locked = writeDatabase(folder + QStringLiteral("geheim.lxd"), true);
    const QString damaged = folder + QStringLiteral("kaputt.lxd");
    writeFileBytes(damaged, readFileBytes(good).chopped(2));
    const QString text = folder + QStringLiteral("text.lxd");
    writeFileBytes(text, "Das ist keine Datenbank.");
    const QStringList titles{QStringLiteral("A"), QStringLiteral("B")};
    return {
        {"a database", good, {}, OpenCase::Opened, titles, {}},
        {"an encrypted database", locked, "geheim", OpenCase::Opened, titles, {}},
        {"a wrong password", locked, "falsch", OpenCase::Refused, {},
         QStringLiteral("Das angegebene Passwort ist nicht korrekt.")},
        {"not a database", text, {}, OpenCase::Refused, {},
         QStringLiteral("ist keine gültige Lexora-Datenbank.")},
        {"a damaged database", damaged, {}, OpenCase::Damaged, {}, QStringLiteral("beschädigt")},
    };
}

std::vector<SaveCase> saveCases(const QString &folder)
{
    return {
        {"into a folder", folder + QStringLiteral("neu.lxd"), true, {}},
        {"into a missing folder", folder + QStringLiteral("fehlt/neu.lxd"), false,
         QStringLiteral("fehlt/neu.lxd")},
    };
}

} // namespace lexora::test
