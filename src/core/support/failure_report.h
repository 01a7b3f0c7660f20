#pragma once

class QString;

namespace lexora {

class Error;
class UserPrompt;

// Tells the user of a failure that ended an operation: a refused file under the caption of its
// kind ("Falsches Passwort", "Beschädigte Datei", "Ungültige Datei"), any other failure under
// "Lexora".
void reportFailure(UserPrompt &prompt, const Error &error);

} // namespace lexora
