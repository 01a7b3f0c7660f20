#pragma once

#include <QString>

namespace lexora {

// A byte count in short units for people: "512 Byte", "1,5 KB", "1 MB", "120,6 KB". One digit
// more than the whole part has is shown, trailing zeros dropped, with the German decimal comma.
QString FormatFileSize(qint64 bytes);

} // namespace lexora
