#include "seeds.h"

#include "database/default_database.h"
#include "database/file_format.h"
#include "database/value_writer.h"
#include "support/progress.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace lexora::fuzz {
namespace {

void addItem(Node &parent, Text name, Text code, TTemplate *html, TTemplate *css)
{
    parent.appendChild(std::move(name))
        ->setItem(std::make_unique<TTipItem>(TTipItem{std::move(code), 45000, 45001.5, "Anna",
                                                      "B\xE4r", html, css, true}));
}

// A small database with something of everything, saved by SaveDatabase; strongly encrypted
// with the cheapest key derivation and chunks of chunkSize when that is not 0.
QByteArray savedDatabase(const QByteArray &password, quint32 chunkSize = 0)
{
    QTemporaryDir dir;
    Database db;
    db.IncludedFilesFolder = dir.path() + QLatin1Char('/');
    db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Seite", "<p>%text%</p>", "\xC4"}));
    db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Lang", QByteArray(300, 'l'), ""}));
    db.CSSTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"CSS", "b{}", "\x81"}));
    db.DefaultHTMLTemplate = db.HTMLTemplates[0].get();
    db.DefaultCSSTemplate = db.CSSTemplates[0].get();
    Node *key = db.topLevel().appendChild("Schl\xFC" "ssel");
    Node *sub = key->appendChild("Unter");
    addItem(*sub, "Eintrag", "Code\r\nmit \x80", db.HTMLTemplates[1].get(), nullptr);
    addItem(*key, "Zweiter", "", nullptr, db.DefaultCSSTemplate);
    addItem(db.topLevel(), "Oben", QByteArray(260, 'x'), db.DefaultHTMLTemplate, db.DefaultCSSTemplate);
    db.TrayNodes = {sub->child(0), db.topLevel().child(1)};
    for (const auto &[name, bytes] : {std::pair<Text, QByteArray>{"a.txt", "abc"},
                                      std::pair<Text, QByteArray>{"leer", ""},
                                      std::pair<Text, QByteArray>{"b\xE4r.bin", QByteArray(40, '\xA5')}}) {
        QFile file(db.includedFilePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{name, qint32(bytes.size())}));
    }
    db.Encrypted = !password.isEmpty();
    db.Encryption = chunkSize ? EncryptionMode::Strong : EncryptionMode::Compatible;
    db.Password = password;
    const QString fileName = dir.filePath(QStringLiteral("seed.lxd"));
    NoProgress progress;
    SaveDatabase(db, fileName, false, progress, {kCheapKdf, chunkSize});
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray written(const std::function<void(ValueWriter &)> &body)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ValueWriter w(buffer);
    w.writeRaw("\xBD\x94\x94\xF1", 4);
    body(w);
    w.flush();
    return buffer.data();
}

// No encryption, the given template lists, and a tree of one item with integer dates.
void headerAndTree(ValueWriter &w)
{
    w.writeBoolean(false);
    w.writeListBegin();
    w.writeRaw("\x12\x02\x00\x00\x00\xC4\x00\xAC\x20", 9); // a wide-string name
    w.writeString("");
    w.writeString("%text%");
    w.writeListEnd();
    w.writeInteger(0);
    w.writeListBegin();
    w.writeListEnd();
    w.writeInteger(-1);
    w.writeListBegin();
    w.writeString("I");
    w.writeBoolean(true);
    w.writeString("c");
    w.writeInteger(45000);
    w.writeInteger(300);
    w.writeString("");
    w.writeString("");
    w.writeInteger(0);
    w.writeInteger(-1);
    w.writeBoolean(false);
    w.writeListBegin();
    w.writeListEnd();
    w.writeListEnd();
}

} // namespace

QList<QByteArray> seedFiles()
{
    return {
        DefaultDatabaseBytes(),
        savedDatabase({}),
        savedDatabase(kPassword),
        savedDatabase(kPassword, 64),
        savedDatabase(kPassword, 64 * 1024),
        written([](ValueWriter &w) { // the older section layout
            headerAndTree(w);
            w.writeListBegin();
            w.writeString("alt.txt");
            w.writeInteger(2);
            w.writeRaw("ok", 2);
            w.writeListEnd();
        }),
        written([](ValueWriter &w) { // a tray and an unknown section
            headerAndTree(w);
            w.writeListBegin();
            w.writeInteger(0);
            w.writeListBegin();
            w.writeInteger(0);
            w.writeListEnd();
            w.writeInteger(5);
            w.writeListBegin();
            w.writeListEnd();
            w.writeListEnd();
        }),
    };
}

} // namespace lexora::fuzz
