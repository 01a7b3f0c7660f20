#pragma once

#include "database/model.h"

#include <QString>
#include <QStringView>

// The code of items and templates between the model (Windows-1252, CR LF) and a code field
// (Unicode, '\n'). Code is HTML, so a character that Windows-1252 lacks is kept as its numeric
// character reference: the page shows it as typed and the file format stays 8-bit.
namespace lexora {

// The model's form of a field's text: every line break ('\n', or the paragraph and line
// separators U+2029 and U+2028 of a text document) becomes CR LF, every character outside
// Windows-1252 its reference "&#937;" (an unpaired surrogate the replacement character's).
Text codeFromField(QStringView fieldText);

// The field's form of the model's code: CR LF, and a lone CR or LF, become '\n'.
QString codeForField(const Text &code);

} // namespace lexora
