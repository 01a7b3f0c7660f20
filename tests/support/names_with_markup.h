#pragma once

// Names that hold HTML's markup characters. A page or an export that inserted them as markup
// would open elements, end attributes, strings or the script, or show "&amp;" as "&".
namespace lexora::test {

inline constexpr const char *NamesWithMarkup[] = {
    "<div> zentrieren",
    "std::vector<int>",
    "Tom & Jerry",
    "a < b > c",
    "Zitat \"x\"",
    "&amp;",
    "</script>",
    // Would end a quoted attribute and hide the element it stands in.
    "\" hidden title=\"",
};

} // namespace lexora::test
