#include "setup/user_name.h"

#include "database/win1252.h"

#include <pwd.h>
#include <unistd.h>

namespace lexora {

Text userName()
{
    QString name;
    if (const passwd *entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        name = QString::fromLocal8Bit(entry->pw_name);
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    return win1252::fromUnicode(name).left(255);
}

} // namespace lexora
