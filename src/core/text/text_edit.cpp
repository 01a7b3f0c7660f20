#include "text/text_edit.h"

namespace lexora {

qsizetype mapPosition(qsizetype position, const std::vector<TextChange> &changes)
{
    qsizetype shift = 0;
    for (const TextChange &c : changes) {
        if (position >= c.to)
            shift += c.text.size() - (c.to - c.from);
        else if (position > c.from)
            return c.from + shift;
        else
            break;
    }
    return position + shift;
}

} // namespace lexora
