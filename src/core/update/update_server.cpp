#include "update/update_server.h"

namespace lexora {

namespace {

QUrl withPath(const QUrl &server, const QString &encodedPath)
{
    QUrl url = server;
    url.setPath(encodedPath, QUrl::TolerantMode);
    return url;
}

} // namespace

std::optional<QUrl> updateServerUrl(const QString &setting)
{
    const QString text = setting.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    const bool schemeGiven = text.contains(QLatin1String("://"));
    const QUrl url(schemeGiven ? text : QStringLiteral("http://") + text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        || url.host().isEmpty() || !url.userInfo().isEmpty()
        || (!url.path().isEmpty() && url.path() != u"/") || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    QUrl server;
    server.setScheme(scheme);
    server.setHost(url.host());
    server.setPort(url.port());
    return server;
}

QUrl descriptionUrl(const QUrl &server)
{
    return withPath(server, QStringLiteral("/Updates.ini"));
}

QUrl archiveUrl(const QUrl &server, const QString &file)
{
    return withPath(server, QStringLiteral("/Updates/")
                                + QString::fromLatin1(QUrl::toPercentEncoding(file)));
}

} // namespace lexora
