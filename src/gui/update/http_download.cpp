#include "update/http_download.h"

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace lexora {

namespace {

constexpr int kMaxRedirects = 5;

QString failureText(QNetworkReply::NetworkError error, int status)
{
    switch (error) {
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("Der Server hat die Verbindung vorzeitig beendet.");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Die sichere Verbindung zum Server konnte nicht aufgebaut werden.");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("Der Server leitet die Anfrage an eine andere Adresse um.");
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return QStringLiteral("Der Server ist nicht erreichbar.");
    default:
        if (status != 0)
            return QStringLiteral("Der Server meldet den Fehler %1.").arg(status);
        return QStringLiteral("Die Übertragung ist fehlgeschlagen.");
    }
}

} // namespace

HttpDownload::HttpDownload(QNetworkAccessManager &network, int readTimeoutMsecs, QObject *parent)
    : QObject(parent), m_network(network)
{
    m_readTimer.setSingleShot(true);
    m_readTimer.setInterval(readTimeoutMsecs);
    connect(&m_readTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("Der Server antwortet nicht mehr.")); });
}

HttpDownload::~HttpDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

bool HttpDownload::networkMayBeUp()
{
    static const bool loaded =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation *info = loaded ? QNetworkInformation::instance() : nullptr;
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

void HttpDownload::start(const QUrl &url, QIODevice *sink, qint64 maxBytes)
{
    Q_ASSERT(!m_reply);
    m_sink = sink;
    m_maxBytes = maxBytes;
    m_received = 0;
    m_total = 0;
    m_headerSeen = false;
    m_errorText.clear();

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpDownload::readBody);
    connect(m_reply, &QNetworkReply::finished, this, &HttpDownload::replyFinished);
    m_readTimer.start();
}

void HttpDownload::cancel()
{
    if (m_reply)
        end(Outcome::Cancelled);
}

void HttpDownload::readBody()
{
    if (!m_headerSeen) {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status != 200)
            return fail(failureText(QNetworkReply::ProtocolFailure, status));
        m_total =
            std::max<qint64>(0, m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
        if (m_total > m_maxBytes)
            return fail(QStringLiteral("Die Datei auf dem Server ist zu groß."));
        m_headerSeen = true;
        Q_EMIT started(m_total);
        if (!m_reply)
            return;
    }
    // One byte beyond the bound is enough to know it is exceeded.
    const QByteArray data =
        m_reply->read(std::min(m_reply->bytesAvailable(), m_maxBytes - m_received + 1));
    m_received += data.size();
    if (m_received > m_maxBytes)
        return fail(QStringLiteral("Die Datei auf dem Server ist zu groß."));
    if (m_sink->write(data) != data.size())
        return fail(QStringLiteral("Die heruntergeladene Datei konnte nicht gespeichert werden: %1")
                        .arg(m_sink->errorString()));
    m_readTimer.start();
    Q_EMIT progress(m_received, m_total);
}

void HttpDownload::replyFinished()
{
    if (m_reply->error() != QNetworkReply::NoError) {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return fail(failureText(m_reply->error(), status));
    }
    if (!m_headerSeen || m_reply->bytesAvailable() > 0) {
        readBody();
        if (!m_reply)
            return;
    }
    if (m_total > 0 && m_received != m_total)
        return fail(failureText(QNetworkReply::RemoteHostClosedError, 0));
    end(Outcome::Complete);
}

void HttpDownload::fail(const QString &text)
{
    m_errorText = text;
    end(Outcome::Failed);
}

void HttpDownload::end(Outcome outcome)
{
    m_readTimer.stop();
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    // A reply that has failed already must not be told to fail again.
    if (reply->isRunning() && reply->error() == QNetworkReply::NoError)
        reply->abort();
    reply->deleteLater();
    Q_EMIT finished(outcome);
}

} // namespace lexora
