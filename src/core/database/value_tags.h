#pragma once

#include <cstdint>

namespace lexora {

// The one-byte tags that start every typed value of a database file.
enum ValueTag : std::uint8_t {
    vaNull = 0x00,   // end of a list
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaString = 0x06, // 1-byte length; ASCII only
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaLString = 0x0C, // 4-byte length; ASCII only
    vaDate = 0x11,    // IEEE-754 double, days since 1899-12-30
    vaWString = 0x12, // 4-byte count of UTF-16LE units; read only
    vaUTF8String = 0x14,
};

} // namespace lexora
