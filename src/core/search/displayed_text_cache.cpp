#include "search/displayed_text_cache.h"

#include "render/displayed_text.h"
#include "render/page_builder.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

namespace lexora {
namespace {

// Equal content; texts that still share their bytes are equal without reading them.
bool sameText(const Text &a, const Text &b)
{
    return a.size() == b.size()
           && (a.constData() == b.constData()
               || std::memcmp(a.constData(), b.constData(), std::size_t(a.size())) == 0);
}

} // namespace

bool DisplayedTextCache::TemplateState::operator==(const TemplateState &other) const
{
    return record == other.record && sameText(name, other.name) && sameText(code, other.code);
}

DisplayedTextCache::DisplayedTextCache(const Database &db) : m_db(db) {}

DisplayedTextCache::~DisplayedTextCache() = default;

DisplayedTextCache::DatabaseState DisplayedTextCache::databaseState(const Database &db)
{
    DatabaseState state;
    for (int list : {HtmlTemplates, CssTemplates}) {
        for (const auto &t : db.templates(list))
            state.templates[list].push_back({t.get(), t->Name, t->Code});
        state.defaults[list] = db.defaultTemplate(list);
    }
    for (const auto &f : db.IncludedFiles)
        state.includedFiles.push_back(f->Name);
    state.currentFileName = db.CurrentFileName;
    state.includedFilesFolder = db.IncludedFilesFolder;
    return state;
}

DisplayedTextCache::ItemState DisplayedTextCache::itemState(const Node &node)
{
    const TTipItem &item = *node.item();
    ItemState state{item.Code,      item.AutoFormat, item.HTMLTemplate, item.CSSTemplate,
                    item.Created,   item.Modified,   item.CreatedBy,    item.ModifiedBy,
                    node.name(),    {},              node.childCount()};
    for (const Node *p = node.parent(); p; p = p->parent())
        state.ancestorTitles.push_back(p->name());
    return state;
}

bool DisplayedTextCache::unchanged(const ItemState &state, const Node &node)
{
    const TTipItem &item = *node.item();
    if (!sameText(state.code, item.Code) || state.autoFormat != item.AutoFormat
        || state.html != item.HTMLTemplate || state.css != item.CSSTemplate
        || state.created != item.Created || state.modified != item.Modified
        || !sameText(state.createdBy, item.CreatedBy) || !sameText(state.modifiedBy, item.ModifiedBy)
        || !sameText(state.title, node.name()) || state.childCount != node.childCount())
        return false;
    std::size_t level = 0;
    for (const Node *p = node.parent(); p; p = p->parent(), ++level)
        if (level >= state.ancestorTitles.size() || !sameText(state.ancestorTitles[level], p->name()))
            return false;
    return level == state.ancestorTitles.size();
}

DisplayedTextCache::Lookup DisplayedTextCache::lookup()
{
    DatabaseState now = databaseState(m_db);
    if (!(now == m_databaseState)) {
        m_entries.clear();
        m_databaseState = std::move(now);
    }
    return Lookup(*this);
}

bool DisplayedTextCache::isFresh(const Node &itemNode) const
{
    const auto it = m_entries.find(&itemNode);
    return it != m_entries.end() && unchanged(it->second.state, itemNode);
}

Text DisplayedTextCache::build(const Node &itemNode) const
{
    return DisplayedText(BuildNodePage(m_db, itemNode));
}

void DisplayedTextCache::Lookup::prepare(const std::vector<const Node *> &itemNodes)
{
    std::vector<const Node *> stale;
    for (const Node *node : itemNodes)
        if (!m_cache.isFresh(*node))
            stale.push_back(node);
    constexpr std::size_t kChunk = 64;
    const std::size_t threads = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()),
                                                      stale.size() / kChunk);
    if (threads < 2)
        return; // text() builds the few there are
    // The first page is built here, before the workers start, so that whatever the page
    // building sets up once for the whole process is set up by one thread.
    std::vector<Text> texts(stale.size());
    texts[0] = m_cache.build(*stale[0]);
    std::atomic<std::size_t> next{1};
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    auto work = [&] {
        try {
            for (std::size_t begin; !failed && (begin = next.fetch_add(kChunk)) < stale.size();)
                for (std::size_t i = begin; i < std::min(begin + kChunk, stale.size()); ++i)
                    texts[i] = m_cache.build(*stale[i]);
        } catch (...) {
            if (!failed.exchange(true))
                failure = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error &) {
            break; // no more threads to be had: the ones there are do all the work
        }
    }
    work();
    for (std::thread &worker : workers)
        worker.join();
    if (failure)
        std::rethrow_exception(failure);
    for (std::size_t i = 0; i < stale.size(); ++i)
        m_cache.m_entries[stale[i]] = {itemState(*stale[i]), std::move(texts[i])};
}

const Text &DisplayedTextCache::Lookup::text(const Node &itemNode)
{
    auto [it, inserted] = m_cache.m_entries.try_emplace(&itemNode);
    if (!inserted && unchanged(it->second.state, itemNode))
        return it->second.text;
    try {
        it->second = {itemState(itemNode), m_cache.build(itemNode)};
    } catch (...) {
        m_cache.m_entries.erase(it); // an entry without its text must not be taken for one
        throw;
    }
    return it->second.text;
}

void DisplayedTextCache::forget(const Node &node)
{
    std::vector<const Node *> stack{&node};
    while (!stack.empty()) {
        const Node *n = stack.back();
        stack.pop_back();
        m_entries.erase(n);
        for (const Node &child : n->children())
            stack.push_back(&child);
    }
}

void DisplayedTextCache::clear()
{
    m_entries.clear();
    m_databaseState = {};
}

} // namespace lexora
