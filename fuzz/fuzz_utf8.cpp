// Fuzz target of the Windows-1252 / UTF-8 conversions, whose block paths the loader and the
// writer of every encrypted file go through: decoding any input agrees with Qt's decoder, and
// any text survives encoding and decoding unchanged.
#include "database/win1252.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (lexora::win1252::fromUtf8(input)
        != lexora::win1252::fromUnicode(QString::fromUtf8(input.data(), input.size())))
        std::abort();
    const QByteArray utf8 = lexora::win1252::toUtf8(input);
    if (utf8 != lexora::win1252::toUnicode(input).toUtf8() || lexora::win1252::fromUtf8(utf8) != input)
        std::abort();
    return 0;
}
