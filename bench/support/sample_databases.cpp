#include "support/sample_databases.h"

#include "database/default_database.h"
#include "database/file_format.h"
#include "support/error.h"
#include "support/progress.h"
#include "support/user_prompt.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <array>

namespace lexora::bench {
namespace {

// Answers nothing: the default database asks for nothing.
class SilentPrompt : public UserPrompt {
public:
    void message(Icon, const QString &, const QString &text) override { throw Error(Error::Kind::InvalidInput, text); }
    Answer question(const QString &, const QString &, Buttons, Icon) override { return Answer::Cancel; }
    QByteArray password(const QString &, const QString &) override { return {}; }
};

void loadDefaultTemplates(Database &db)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Default.lxd"));
    WriteDefaultDatabase(file);
    SilentPrompt prompt;
    NoProgress progress;
    LoadDatabase(db, file, lpHTMLTemplates | lpCSSTemplates | lpDefaultsAndTray, prompt, progress);
}

constexpr std::array<const char *, 24> kWords = {
    "Datenbank", "Eintrag", "Vorlage", "Schleife", "Funktion", "Variable", "Fenster", "Tabelle",
    "Zeiger", "Speicher", "Datei", "Ordner", "Liste", "Suche", "Ergebnis", "Abfrage",
    "Klasse", "Objekt", "Methode", "Parameter", "R\xFC" "ckgabe", "Fehler", "Ausnahme", "Text",
};

Text word(QRandomGenerator &random)
{
    return Text(kWords[random.bounded(int(kWords.size()))]);
}

// About size bytes of simple HTML made of words.
Text codeOf(QRandomGenerator &random, int size, bool umlaut)
{
    Text code;
    code.reserve(size + 32);
    code += "<p>";
    while (code.size() < size - 4) {
        code += word(random);
        code += random.bounded(12) == 0 ? "</p>\r\n<p>" : " ";
    }
    if (umlaut)
        code += "\xE4";
    code += "</p>";
    return code.left(size);
}

} // namespace

void fillItemDatabase(Database &db, int itemCount, int codeSize)
{
    loadDefaultTemplates(db);
    QRandomGenerator random(20240601);
    // Keys of 20 sub-keys of 100 items each.
    constexpr int kPerSubKey = 100;
    constexpr int kSubKeys = 20;
    Node *key = nullptr;
    Node *subKey = nullptr;
    for (int i = 0; i < itemCount; ++i) {
        if (i % (kPerSubKey * kSubKeys) == 0)
            key = db.topLevel().appendChild("Schl\xFC" "ssel " + Text::number(i / (kPerSubKey * kSubKeys)));
        if (i % kPerSubKey == 0)
            subKey = key->appendChild(word(random) + " " + Text::number(i / kPerSubKey));
        Node *node = subKey->appendChild(word(random) + " " + word(random) + " " + Text::number(i));
        auto item = std::make_unique<TTipItem>();
        item->Code = codeOf(random, codeSize, i % 10 == 0);
        item->Created = 44000 + i % 1500;
        item->Modified = item->Created + i % 30;
        item->CreatedBy = i % 3 ? "Anna" : "Bernd";
        item->ModifiedBy = "Anna";
        item->HTMLTemplate = db.DefaultHTMLTemplate;
        item->CSSTemplate = db.DefaultCSSTemplate;
        item->AutoFormat = i % 2 == 0;
        node->setItem(std::move(item));
    }
}

void fillIncludedFilesDatabase(Database &db, qint64 totalBytes)
{
    loadDefaultTemplates(db);
    Node *node = db.topLevel().appendChild("Dateien");
    node->setItem(std::make_unique<TTipItem>(TTipItem{"<p>Dateien</p>", 45000, 45000,
                                                      "Anna", "Anna", db.DefaultHTMLTemplate,
                                                      db.DefaultCSSTemplate, true}));
    constexpr qint64 kFileSize = 16 << 20;
    QRandomGenerator random(4711);
    QByteArray block(kFileSize, Qt::Uninitialized);
    for (int n = 0; qint64(n) * kFileSize < totalBytes; ++n) {
        const qint64 size = std::min(kFileSize, totalBytes - qint64(n) * kFileSize);
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        const Text name = "Bild" + Text::number(n) + ".bin";
        QFile file(db.includedFilePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(block.constData(), size) != size)
            throw Error(Error::Kind::IoError, QStringLiteral("Kann %1 nicht schreiben").arg(file.fileName()));
        db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{name, qint32(size)}));
    }
}

void writeDatabase(Database &db, const QString &fileName, const QByteArray &password)
{
    db.Encrypted = !password.isEmpty();
    db.Password = password;
    NoProgress progress;
    SaveDatabase(db, fileName, false, progress);
}

void writeItemDatabase(const QString &fileName, const QByteArray &password, int itemCount, int codeSize)
{
    Database db;
    fillItemDatabase(db, itemCount, codeSize);
    writeDatabase(db, fileName, password);
}

void writeIncludedFilesDatabase(const QString &fileName, const QByteArray &password, qint64 totalBytes)
{
    QTemporaryDir dir;
    Database db;
    db.IncludedFilesFolder = dir.path() + QLatin1Char('/');
    fillIncludedFilesDatabase(db, totalBytes);
    writeDatabase(db, fileName, password);
}

} // namespace lexora::bench
