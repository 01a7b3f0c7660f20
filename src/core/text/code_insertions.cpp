#include "text/code_insertions.h"

#include "database/win1252.h"
#include "render/placeholders.h"
#include "text/file_size.h"

namespace lexora {

namespace {

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

// The placeholder's record list as names, with a hint for each.
template <class Visit>
void visitRecords(const Database &db, int row, Visit visit)
{
    switch (row) {
    case PhXcss:
    case PhXhtml:
        for (const auto &t : db.templates(row == PhXcss ? CssTemplates : HtmlTemplates))
            visit(t->Name, [&t] { return win1252::toUnicode(t->Description); });
        break;
    case PhFile:
        for (const auto &f : db.IncludedFiles)
            visit(f->Name, [&f] { return FormatFileSize(f->Size); });
        break;
    default: break;
    }
}

int recordCount(const Database &db, int row)
{
    switch (row) {
    case PhXcss: return int(db.CSSTemplates.size());
    case PhXhtml: return int(db.HTMLTemplates.size());
    case PhFile: return int(db.IncludedFiles.size());
    default: return 0;
    }
}

} // namespace

QString tagCaption(int row)
{
    const HtmlTag &tag = TagTable[std::size_t(row)];
    return u'<' + latin1(tag.name) + (tag.attributes ? QStringLiteral(" ...") : QString()) + u'>';
}

TextEdit tagAction(int row, Selection selection, QStringView selectedText)
{
    const HtmlTag &tag = TagTable[std::size_t(row)];
    const QString name = latin1(tag.name);
    const qsizetype start = selection.start();
    if (tag.single) {
        const QString opening = u'<' + name + u'>';
        return {{{start, selection.end(), opening}}, Selection::caret(start + opening.size())};
    }
    const QString opening =
        u'<' + name + (tag.attributes ? u' ' + latin1(tag.attributes) : QString()) + u'>';
    const QString text = opening + selectedText.toString() + QStringLiteral("</") + name + u'>';
    const qsizetype inner = start + opening.size();
    return {{{start, selection.end(), text}}, Selection::range(inner, inner + selectedText.size())};
}

bool hasSubmenu(int row)
{
    return row == PhXcss || row == PhXhtml || row == PhFile;
}

std::optional<Text> chosenName(const Database &db, int tag)
{
    const int record = tagRecord(tag);
    if (record == 0)
        return std::nullopt;
    std::optional<Text> name;
    int position = 0;
    visitRecords(db, tagRow(tag), [&](const Text &recordName, auto) {
        if (++position == record)
            name = recordName;
    });
    return name;
}

TextEdit placeholderAction(const Database &db, int tag, Selection selection,
                           QStringView selectedText)
{
    const Placeholder &ph = PlaceholderTable[std::size_t(tagRow(tag))];
    const QString name = latin1(ph.name);
    const std::optional<Text> chosen = chosenName(db, tag);
    const QString record = chosen ? win1252::toUnicode(*chosen) : QString();
    const qsizetype start = selection.start();
    const qsizetype end = selection.end();
    switch (ph.form) {
    case PlaceholderForm::Plain: {
        const QString text = u'%' + name + u'%';
        return {{{start, end, text}}, Selection::caret(start + text.size())};
    }
    case PlaceholderForm::Argument: {
        const QString opening = u'%' + name + u'%';
        if (chosen) {
            const QString text = opening + record + u'>';
            return {{{start, end, text}}, Selection::caret(start + text.size())};
        }
        const qsizetype inner = start + opening.size();
        return {{{start, end, opening + selectedText.toString() + u'>'}},
                Selection::range(inner, inner + selectedText.size())};
    }
    case PlaceholderForm::Block: {
        const QString opening = QStringLiteral("%>") + name + u'%' + record + u'>';
        const QString closing = QStringLiteral("%<") + name + u'%';
        const qsizetype inner = start + opening.size();
        return {{{start, end, opening + selectedText.toString() + closing}},
                Selection::range(inner, inner + selectedText.size())};
    }
    }
    return {};
}

std::vector<SubmenuEntry> submenuEntries(const Database &db, int row)
{
    std::vector<SubmenuEntry> entries;
    visitRecords(db, row, [&](const Text &name, auto hint) {
        if (entries.size() >= std::size_t(MaxSubmenuRecords))
            return;
        QString caption = win1252::toUnicode(name);
        caption.replace(u'&', QStringLiteral("&&"));
        entries.push_back({caption, hint(), menuTag(row, int(entries.size()))});
    });
    return entries;
}

int recordsBeyondSubmenu(const Database &db, int row)
{
    return std::max(0, recordCount(db, row) - MaxSubmenuRecords);
}

} // namespace lexora
