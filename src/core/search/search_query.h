#pragma once

#include "database/model.h"
#include "search/keywords.h"

#include <QtGlobal>

#include <vector>

namespace lexora {

// "Erstellungsdatum" / "Änderungsdatum": operator 0 "ist früher als", 1 "ist",
// 2 "ist später als"; compared by day.
struct DateCondition {
    bool enabled = false;
    int op = 1;
    DateTime date = 0;
};

// "Ersteller" / "Bearbeiter": operator 0 "ist", 1 "ist nicht"; names compare byte for byte.
struct UserCondition {
    bool enabled = false;
    int op = 0;
    Text name;
};

// "HTML-Vorlage" / "CSS-Vorlage": operator 0 "ist", 1 "ist nicht"; the template record itself,
// nullptr for "Keine Vorlage".
struct TemplateCondition {
    bool enabled = false;
    int op = 0;
    const TTemplate *tmpl = nullptr;
};

// Line-break replacement: value 0 "aktiviert", 1 "nicht aktiviert".
struct AutoFormatCondition {
    bool enabled = false;
    int value = 0;
};

// The places of a node that are searched.
struct SearchPlaces {
    bool keyNames = true;
    bool itemNames = true;
    bool itemCodes = true;
    bool itemTexts = false;
};

// The settings of one search, as the search window holds them.
struct SearchQuery {
    Text keywordText;
    bool wholeWords = false;
    bool exactCase = false;
    SearchMode mode = SearchMode::All;
    // Keys whose subtrees are searched; nullptr stands for the top level.
    std::vector<const Node *> scope;
    bool recursive = true;
    SearchPlaces places;

    DateCondition created;
    DateCondition modified;
    UserCondition creator;
    UserCondition modifier;
    TemplateCondition htmlTemplate;
    TemplateCondition cssTemplate;
    AutoFormatCondition autoFormat;
};

// Where a node matched.
enum SearchPlace : quint8 { PlaceName = 1, PlaceCode = 2, PlaceText = 4 };

struct SearchResult {
    const Node *node = nullptr;
    quint8 places = 0; // SearchPlace bits
    bool operator==(const SearchResult &) const = default;
};

} // namespace lexora
