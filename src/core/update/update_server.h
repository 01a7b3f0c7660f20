#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace lexora {

// The update server named by "UpdateServer": "host[:port]" is reached over plain HTTP, as the
// server's format requires; "http://host[:port]" the same; "https://host[:port]" over TLS.
// Nothing for an empty value or one that names anything else (another scheme, a path, a user).
std::optional<QUrl> updateServerUrl(const QString &setting);

// The description file at the server's root: "/Updates.ini".
QUrl descriptionUrl(const QUrl &server);

// The archive "/Updates/" + file; file is one name, its characters percent-encoded as needed.
QUrl archiveUrl(const QUrl &server, const QString &file);

} // namespace lexora
