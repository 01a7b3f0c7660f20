#include "search/item_conditions.h"

#include "text/compare_day.h"

namespace lexora {
namespace {

bool passes(const DateCondition &c, DateTime value)
{
    return !c.enabled || CompareDay(value, c.date) == c.op - 1;
}

bool passes(const UserCondition &c, const Text &value)
{
    return !c.enabled || (value == c.name) == (c.op == 0);
}

bool passes(const TemplateCondition &c, const TTemplate *value)
{
    return !c.enabled || (value == c.tmpl) == (c.op == 0);
}

bool passes(const AutoFormatCondition &c, bool value)
{
    return !c.enabled || value == (c.value == 0);
}

} // namespace

bool PassesItemConditions(const TTipItem &item, const SearchQuery &query)
{
    return passes(query.created, item.Created) && passes(query.modified, item.Modified)
           && passes(query.creator, item.CreatedBy) && passes(query.modifier, item.ModifiedBy)
           && passes(query.htmlTemplate, item.HTMLTemplate)
           && passes(query.cssTemplate, item.CSSTemplate)
           && passes(query.autoFormat, item.AutoFormat);
}

} // namespace lexora
