#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace lexora::test {

// A small HTTP server on the loopback interface for the update tests. It answers GET requests
// from a table of paths (404 for others) and can answer slowly, cut its answer off, or not answer
// at all. It runs in the test's own event loop.
class TestHttpServer {
public:
    struct Response {
        Response() = default;
        Response(QByteArray body_, int status_ = 200) : body(std::move(body_)), status(status_) {}

        QByteArray body;
        int status = 200;
        QByteArray extraHeaders;      // whole lines, each ended by "\r\n"
        bool announceLength = true;   // send Content-Length
        qint64 cutAfter = -1;         // close the connection after this many body bytes
        int chunkBytes = 0;           // send the body in pieces of this size ...
        int chunkDelayMsecs = 0;      // ... one every so many milliseconds
        bool silent = false;          // take the request and never answer
    };

    TestHttpServer();
    ~TestHttpServer();

    // "127.0.0.1:port", as "UpdateServer" names it.
    QString address() const;
    quint16 port() const { return m_server.serverPort(); }
    void serve(const QString &path, const Response &response) { m_responses[path] = response; }
    int requests(const QString &path) const { return m_requests.value(path); }

private:
    void accept();
    void answer(QTcpSocket *socket, const QString &path);

    QTcpServer m_server;
    QObject m_context;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_requests;
};

} // namespace lexora::test
