#include "text/ansi_upper.h"

namespace lexora::ansi {

void toUpper(QByteArrayView text, char *out)
{
    const auto *in = reinterpret_cast<const unsigned char *>(text.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        out[i] = char(kUpperTable[in[i]]);
}

QByteArray toUpper(QByteArrayView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    toUpper(text, out.data());
    return out;
}

} // namespace lexora::ansi
