#pragma once

namespace lexora {

// Makes the running program German: Qt's translations "qtbase_de" and "qtwebengine_de" from Qt's
// translations folder (standard buttons and dialogs read "Ja", "Nein", "Abbrechen", "Öffnen",
// ...) and German as the default locale (dates, numbers, the browser's language), whatever the
// session's language. Call once after the QApplication exists and before the first browser
// control. Returns false when Qt's German translation is not installed on the system; the
// standard texts then stay English.
bool installGermanTranslation();

} // namespace lexora
