// The document's template edits: save (with the rename that rewrites references by name),
// delete, and the checks of a template's name.
#include "document/document.h"

#include "database/win1252.h"
#include "document/undo_parts.h"
#include "support/progress.h"
#include "text/collation.h"

#include <QByteArrayMatcher>

#include <algorithm>

namespace lexora {

namespace {

// How code names a template of a list: "%>xhtml%Name>" opens an HTML template block,
// "%xcss%Name>" puts in a CSS template.
Text referencePrefix(int list)
{
    return list == HtmlTemplates ? Text("%>xhtml%") : Text("%xcss%");
}

} // namespace

QString Document::templateNameProblem(int list, const TTemplate *edited, const Text &name) const
{
    if (name.isEmpty())
        return QStringLiteral("Sie müssen einen Namen für die Vorlage eingeben.");
    if (name.contains('<') || name.contains('>'))
        return QStringLiteral("Der Name darf die folgenden Zeichen nicht enthalten:\r\n< >");
    for (const auto &other : m_db.templates(list))
        if (other.get() != edited && other->Name == name)
            return QStringLiteral("Der Name \"%1\" ist bereits von einer anderen Vorlage belegt.")
                .arg(win1252::toUnicode(name));
    return {};
}

TTemplate *Document::saveTemplate(int list, TTemplate *edited, const TemplateFields &fields)
{
    if (!templateNameProblem(list, edited, fields.name).isEmpty())
        return nullptr;
    Recording recording(*this, !edited ? stepName(QStringLiteral("Neue Vorlage »%1«"), {}, fields.name, 1)
                               : edited->Name != fields.name
                                   ? stepName(QStringLiteral("Umbenennen der Vorlage »%1«"), {}, edited->Name, 1)
                                   : stepName(QStringLiteral("Ändern der Vorlage »%1«"), {}, edited->Name, 1));
    auto &templates = m_db.templates(list);
    auto listBefore = std::make_unique<TemplateListPart>(m_db, list);
    std::unique_ptr<TTemplate> created;
    TTemplate *target = edited;
    if (!target) {
        created = std::make_unique<TTemplate>();
        target = created.get();
    } else {
        if (target->Name != fields.name)
            rewriteTemplateReferences(referencePrefix(list), target->Name, fields.name, target);
        auto fieldsBefore = std::make_unique<TemplateFieldsPart>();
        fieldsBefore->add(target);
        record(std::move(fieldsBefore));
    }
    target->Name = fields.name;
    target->Description = fields.description;
    target->Code = fields.code;
    TTemplate *&defaultTemplate = m_db.defaultTemplate(list);
    if (fields.isDefault)
        defaultTemplate = target;
    else if (defaultTemplate == target)
        defaultTemplate = nullptr;
    if (created)
        templates.push_back(std::move(created));
    SortByName(templates);
    if (!listBefore->matches(m_db))
        record(std::move(listBefore));
    Q_EMIT templatesChanged();
    setModified();
    return target;
}

void Document::rewriteTemplateReferences(const Text &prefix, const Text &from, const Text &to,
                                         const TTemplate *except)
{
    const Text before = prefix + from + '>';
    const Text after = prefix + to + '>';
    // One pass per code: code without a reference is only searched, never copied; code with
    // one is built anew once.
    const QByteArrayMatcher matcher(before);
    // Rewrites code whose first reference is at.
    const auto rewrite = [&](Text &code, qsizetype at) {
        Text rewritten;
        rewritten.reserve(code.size() + std::max<qsizetype>(0, after.size() - before.size()));
        qsizetype next = 0; // the first byte not yet copied
        for (; at >= 0; at = matcher.indexIn(code, next)) {
            rewritten.append(code.constData() + next, at - next).append(after);
            next = at + before.size();
        }
        rewritten.append(code.constData() + next, code.size() - next);
        code = std::move(rewritten);
    };
    // What is rewritten, as it was, for the undo step: the old code is kept, not copied.
    ItemsPart::Values items;
    auto templates = std::make_unique<TemplateFieldsPart>();
    const std::vector<Node *> nodes = m_db.preorder();
    const qint64 total = qint64(nodes.size() + m_db.HTMLTemplates.size());
    ProgressScope progress(m_progress, QStringLiteral("Daten aktualisieren"),
                           QStringLiteral("Daten werden aktualisiert..."), total);
    qint64 done = 0;
    for (Node *node : nodes) {
        TTipItem *item = node->item();
        // One pass per code: code without a reference is only searched, never copied.
        if (const qsizetype at = item ? matcher.indexIn(item->Code) : -1; at >= 0) {
            items.emplace_back(node, *item);
            rewrite(item->Code, at);
        }
        m_progress.step(++done);
    }
    for (const auto &tmpl : m_db.HTMLTemplates) {
        if (const qsizetype at = tmpl.get() != except ? matcher.indexIn(tmpl->Code) : -1; at >= 0) {
            templates->add(tmpl.get());
            rewrite(tmpl->Code, at);
        }
        m_progress.step(++done);
    }
    if (!items.empty())
        record(std::make_unique<ItemsPart>(std::move(items)));
    if (!templates->isEmpty())
        record(std::move(templates));
}

void Document::deleteTemplate(int list, TTemplate *tmpl)
{
    auto &templates = m_db.templates(list);
    const auto found = std::find_if(templates.begin(), templates.end(),
                                    [tmpl](const auto &t) { return t.get() == tmpl; });
    if (found == templates.end())
        return;
    Recording recording(*this, stepName(QStringLiteral("Löschen der Vorlage »%1«"), {}, tmpl->Name, 1));
    auto listBefore = std::make_unique<TemplateListPart>(m_db, list);
    ItemsPart::Values items;
    TTemplate *&defaultTemplate = m_db.defaultTemplate(list);
    if (defaultTemplate == tmpl)
        defaultTemplate = nullptr;
    for (Node *node : m_db.preorder()) {
        TTipItem *item = node->item();
        if (!item)
            continue;
        const TTemplate *&used = list == HtmlTemplates ? item->HTMLTemplate : item->CSSTemplate;
        if (used == tmpl) {
            items.emplace_back(node, *item);
            used = defaultTemplate;
        }
    }
    // The template stays with the step, so that the items' references to it come back with it.
    listBefore->hold(std::move(*found));
    templates.erase(found);
    if (!items.empty())
        record(std::make_unique<ItemsPart>(std::move(items)));
    record(std::move(listBefore));
    Q_EMIT templatesChanged();
    setModified();
}

} // namespace lexora
