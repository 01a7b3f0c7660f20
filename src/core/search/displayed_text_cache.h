#pragma once

#include "database/model.h"

#include <unordered_map>
#include <vector>

namespace lexora {

// The displayed texts of item pages, kept while nothing their pages are built from has changed,
// so that a repeated search over item texts does not build and read every page again.
//
// A page is a function of the item (code, templates, line-break flag, dates, users), of its node
// (title, the titles of its ancestors, the number of its children), and of the database (every
// template, since pages name templates; the defaults; the included files; the file name and the
// included-files folder). An entry keeps all of these and is used only while all are equal;
// texts are compared by content, so nothing the program edits can leave an entry stale. Node
// addresses only find the entry: a new node at a deleted node's address is checked like any.
class DisplayedTextCache {
public:
    explicit DisplayedTextCache(const Database &db);
    ~DisplayedTextCache();
    DisplayedTextCache(const DisplayedTextCache &) = delete;
    DisplayedTextCache &operator=(const DisplayedTextCache &) = delete;

    // Looks up many items while the database stays unchanged: it compares the database-wide
    // part once, when it is made. Do not keep one across a change of the database.
    class Lookup {
    public:
        // Builds, on all processor cores, the texts of those item nodes that are missing or
        // out of date, so that text() finds them. Pages are independent of each other, and
        // building them is by far the slowest step of a first search over item texts.
        void prepare(const std::vector<const Node *> &itemNodes);
        // The displayed text of an item node's page.
        const Text &text(const Node &itemNode);

    private:
        friend class DisplayedTextCache;
        explicit Lookup(DisplayedTextCache &cache) : m_cache(cache) {}
        DisplayedTextCache &m_cache;
    };
    Lookup lookup();

    // Drops what is kept for a node and its descendants (before they are deleted); this only
    // frees memory, since an entry is checked before it is used.
    void forget(const Node &node);
    void clear();

private:
    struct TemplateState {
        const TTemplate *record;
        Text name;
        Text code;
        bool operator==(const TemplateState &) const;
    };
    struct DatabaseState {
        std::vector<TemplateState> templates[2];
        const TTemplate *defaults[2] = {nullptr, nullptr};
        std::vector<Text> includedFiles;
        QString currentFileName;
        QString includedFilesFolder;
        bool operator==(const DatabaseState &) const = default;
    };
    struct ItemState {
        Text code;
        bool autoFormat = true;
        const TTemplate *html = nullptr;
        const TTemplate *css = nullptr;
        DateTime created = 0;
        DateTime modified = 0;
        Text createdBy;
        Text modifiedBy;
        Text title;
        std::vector<Text> ancestorTitles; // the parent's first
        int childCount = 0;
    };
    struct Entry {
        ItemState state;
        Text text;
    };

    static DatabaseState databaseState(const Database &db);
    bool isFresh(const Node &itemNode) const;
    Text build(const Node &itemNode) const;
    static ItemState itemState(const Node &node);
    static bool unchanged(const ItemState &state, const Node &node);

    const Database &m_db;
    DatabaseState m_databaseState;
    std::unordered_map<const Node *, Entry> m_entries;
};

} // namespace lexora
