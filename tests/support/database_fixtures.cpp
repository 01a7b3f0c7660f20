#include "support/database_fixtures.h"

#include <QCryptographicHash>
#include <QFile>

#include <gtest/gtest.h>

namespace lexora::test {
namespace {

TTemplate *addTemplate(Database &db, int list, Text name, Text description, Text code)
{
    db.templates(list).push_back(std::make_unique<TTemplate>(
        TTemplate{std::move(name), std::move(code), std::move(description)}));
    return db.templates(list).back().get();
}

Node *addItem(Node &parent, Text name, Text code, TTemplate *html, TTemplate *css,
              bool autoFormat = true)
{
    Node *node = parent.appendChild(std::move(name));
    auto item = std::make_unique<TTipItem>();
    item->Code = std::move(code);
    item->Created = 45000.0;
    item->Modified = 45123.75;
    item->CreatedBy = "M\xFCller";
    item->ModifiedBy = "";
    item->HTMLTemplate = html;
    item->CSSTemplate = css;
    item->AutoFormat = autoFormat;
    node->setItem(std::move(item));
    return node;
}

} // namespace

void addIncludedFile(Database &db, Text name, const QByteArray &bytes)
{
    writeFileBytes(db.includedFilePath(name), bytes);
    db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{std::move(name), qint32(bytes.size())}));
}

void buildVariedDatabase(Database &db)
{
    TTemplate *page = addTemplate(db, HtmlTemplates, "Seite", "HTML-Vorlage mit \xDC" "berschrift",
                                  "<html><body>%text%</body></html>");
    TTemplate *code = addTemplate(db, HtmlTemplates, ".Code", "", QByteArray(300, 'c'));
    addTemplate(db, HtmlTemplates, "leer", "", "");
    TTemplate *css = addTemplate(db, CssTemplates, "CSS \x80", "Tahoma", "body {margin:6}\r\n\th1 {}");
    db.DefaultHTMLTemplate = page;
    db.DefaultCSSTemplate = css;

    Node &top = db.topLevel();
    Node *key = top.appendChild("Schl\xFC" "ssel");
    Node *first = addItem(*key, "ASCII 255", QByteArray(255, 'a'), code, css);
    addItem(*key, "ASCII 256", QByteArray(256, 'b'), nullptr, nullptr, false);
    Node *inner = key->appendChild("Ebene 2");
    Node *deep = addItem(*inner, "Tief", QByteArray("\x81\x8D\x8F\x90\x9D\0x\xFF", 8), page, nullptr);
    addItem(*deep, "", "", nullptr, css); // an item below an item, with an empty name
    addItem(top, "Gleich", "erster", page, css);
    addItem(top, "Gleich", "zweiter", code, css);
    top.appendChild("Leerer Schl\xFC" "ssel");

    db.TrayNodes = {deep, first, top.child(2)};

    QByteArray pattern(1000, Qt::Uninitialized);
    for (int i = 0; i < pattern.size(); ++i)
        pattern[i] = char(i * 7 + 3);
    addIncludedFile(db, "bild.png", pattern);
    addIncludedFile(db, "leer.txt", {});
    addIncludedFile(db, "B\xE4r \x81.bin", QByteArray(17, '\xA5'));
}

std::string describeDatabase(const Database &db)
{
    QByteArray out;
    auto text = [](const Text &t) { return "[" + t.toHex() + "]"; };
    for (int list : {HtmlTemplates, CssTemplates}) {
        out += list == HtmlTemplates ? "html\n" : "css\n";
        for (const auto &t : db.templates(list))
            out += "  " + text(t->Name) + text(t->Description) + text(t->Code) + "\n";
        out += "  default " + QByteArray::number(db.templateIndex(list, db.defaultTemplate(list))) + "\n";
    }
    out += "tree\n";
    for (const Node *node : db.preorder()) {
        out += QByteArray(2 * node->level() + 2, ' ') + text(node->name());
        if (const TTipItem *item = node->item()) {
            out += " item" + text(item->Code) + " " + QByteArray::number(item->Created, 'g', 17) + " "
                   + QByteArray::number(item->Modified, 'g', 17) + text(item->CreatedBy)
                   + text(item->ModifiedBy) + " html "
                   + QByteArray::number(db.templateIndex(HtmlTemplates, item->HTMLTemplate)) + " css "
                   + QByteArray::number(db.templateIndex(CssTemplates, item->CSSTemplate))
                   + (item->AutoFormat ? " auto" : " manual");
        }
        out += "\n";
    }
    out += "tray";
    for (const Node *node : db.TrayNodes)
        out += " " + QByteArray::number(db.absoluteIndex(node));
    out += "\nfiles\n";
    for (const auto &f : db.IncludedFiles) {
        const QByteArray bytes = readFileBytes(db.includedFilePath(f->Name));
        out += "  " + text(f->Name) + " " + QByteArray::number(f->Size) + " "
               + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "\n";
    }
    const char *mode = db.Encryption == EncryptionMode::Strong ? "strong " : "compatible ";
    out += db.Encrypted ? "encrypted " + QByteArray(mode) + text(db.Password.exposed()) + "\n"
                        : "plain\n";
    return out.toStdString();
}

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

void RecordingProgress::begin(const QString &caption, const QString &text, qint64 total)
{
    captions.append(caption);
    texts.append(text);
    totals.append(total);
}

void RecordingProgress::step(qint64 done)
{
    steps.append(done);
}

} // namespace lexora::test
