#pragma once

#include "database/model.h"

namespace lexora {

// UserName: the login name of the effective user (from the password database, else $USER),
// as Windows-1252 text of at most 255 characters; empty when there is none.
Text userName();

} // namespace lexora
