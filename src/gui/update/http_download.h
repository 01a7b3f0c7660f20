#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

namespace lexora {

// One GET from the update server, written into a sink as it arrives: no cookies, redirects only
// within the server, at most maxBytes of body, and the transfer given up when no data has come
// for the read time-out. Neither the wizard nor the program waits for it: it reports by signals.
class HttpDownload : public QObject {
    Q_OBJECT

public:
    enum class Outcome { Complete, Cancelled, Failed };
    static constexpr int kReadTimeoutMsecs = 10000;

    explicit HttpDownload(QNetworkAccessManager &network, int readTimeoutMsecs = kReadTimeoutMsecs,
                          QObject *parent = nullptr);
    ~HttpDownload() override;

    // False when the system knows for sure that there is no network; true when it does not know.
    static bool networkMayBeUp();

    void start(const QUrl &url, QIODevice *sink, qint64 maxBytes);
    // Cuts the connection now; finished(Cancelled) follows before this returns.
    void cancel();
    bool running() const { return m_reply != nullptr; }
    // Why the last transfer failed, in German.
    const QString &errorText() const { return m_errorText; }

Q_SIGNALS:
    // The server's answer has begun; total is the size it announces, 0 when none.
    void started(qint64 total);
    void progress(qint64 received, qint64 total);
    void finished(lexora::HttpDownload::Outcome outcome);

private:
    void readBody();
    void replyFinished();
    void fail(const QString &text);
    void end(Outcome outcome);

    QNetworkAccessManager &m_network;
    QNetworkReply *m_reply = nullptr;
    QIODevice *m_sink = nullptr;
    QTimer m_readTimer;
    qint64 m_maxBytes = 0;
    qint64 m_received = 0;
    qint64 m_total = 0;
    bool m_headerSeen = false;
    bool m_ending = false;
    Outcome m_failure = Outcome::Failed;
    QString m_errorText;
};

} // namespace lexora
