#include "support/gui_http_server.h"

#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace lexora::test {

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Error";
    }
}

} // namespace

TestHttpServer::TestHttpServer()
{
    EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost)) << m_server.errorString().toStdString();
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_context, [this] { accept(); });
}

TestHttpServer::~TestHttpServer()
{
    m_server.close();
}

QString TestHttpServer::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
}

void TestHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        struct Request {
            QByteArray head;
            bool answered = false;
        };
        auto request = std::make_shared<Request>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            request->head += socket->readAll();
            if (request->answered || !request->head.contains("\r\n\r\n"))
                return;
            request->answered = true;
            // "GET /path HTTP/1.1"
            const QList<QByteArray> words = request->head.left(request->head.indexOf("\r\n")).split(' ');
            answer(socket, words.size() >= 2 ? QString::fromUtf8(words[1]) : QString());
        });
    }
}

void TestHttpServer::answer(QTcpSocket *socket, const QString &path)
{
    ++m_requests[path];
    const Response response = m_responses.value(path, Response{"nicht da", 404});
    if (response.silent)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason(response.status)
                      + "\r\nConnection: close\r\n" + response.extraHeaders;
    if (response.announceLength)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "\r\n";
    socket->write(head);

    const QByteArray body =
        response.cutAfter >= 0 ? response.body.left(response.cutAfter) : response.body;
    if (response.chunkBytes <= 0) {
        socket->write(body);
        socket->disconnectFromHost();
        return;
    }
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, body, sent, chunk = response.chunkBytes] {
        socket->write(body.mid(*sent, chunk));
        *sent += chunk;
        if (*sent >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(response.chunkDelayMsecs);
}

} // namespace lexora::test
