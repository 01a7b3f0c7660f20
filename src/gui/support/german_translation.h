#pragma once

namespace lexora {

// Installs Qt's German translation ("qtbase_de" from Qt's translations folder) into the running
// application, so standard buttons and dialogs read "Ja", "Nein", "Abbrechen", "Öffnen", ...
// Call once after the QApplication exists. Returns false when the translation is not installed
// on the system; the standard texts then stay English.
bool installGermanTranslation();

} // namespace lexora
