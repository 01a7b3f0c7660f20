#include "update/http_download.h"

#include "support/gui_http_server.h"

#include <QBuffer>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using lexora::test::TestHttpServer;

namespace {

using Outcome = HttpDownload::Outcome;

struct Result {
    std::optional<Outcome> outcome;
    QString errorText;
    QByteArray received;
};

Result fetch(const QUrl &url, qint64 maxBytes, int timeoutMsecs = HttpDownload::kReadTimeoutMsecs)
{
    QNetworkAccessManager network;
    HttpDownload download(network, timeoutMsecs);
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    Result result;
    QObject::connect(&download, &HttpDownload::finished, [&](Outcome o) { result.outcome = o; });
    download.start(url, &sink, maxBytes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.outcome.has_value(); }, 15000)) << url.toString().toStdString();
    result.errorText = download.errorText();
    result.received = sink.data();
    return result;
}

QUrl at(const TestHttpServer &server, const char *path)
{
    return QUrl(QStringLiteral("http://") + server.address() + QString::fromUtf8(path));
}

TEST(HttpDownload, AnswersOfTheServer)
{
    const QByteArray body(5000, 'z');
    TestHttpServer server;
    TestHttpServer::Response noLength{body};
    noLength.announceLength = false;
    TestHttpServer::Response cut{body};
    cut.cutAfter = 1000;
    TestHttpServer::Response cutSlowly{body};
    cutSlowly.cutAfter = 3000;
    cutSlowly.chunkBytes = 1000;
    cutSlowly.chunkDelayMsecs = 20;
    TestHttpServer::Response bigNoLength{QByteArray(300, 'b')};
    bigNoLength.announceLength = false;
    TestHttpServer::Response sameServer{{}, 302};
    sameServer.extraHeaders = "Location: /ok\r\n";
    TestHttpServer other;
    TestHttpServer::Response otherServer{{}, 302};
    otherServer.extraHeaders = "Location: http://" + other.address().toUtf8() + "/ok\r\n";
    other.serve(QStringLiteral("/ok"), {"elsewhere"});
    server.serve(QStringLiteral("/ok"), {body});
    server.serve(QStringLiteral("/empty"), {{}});
    server.serve(QStringLiteral("/no-length"), noLength);
    server.serve(QStringLiteral("/cut"), cut);
    server.serve(QStringLiteral("/cut-slowly"), cutSlowly);
    server.serve(QStringLiteral("/error"), {"kaputt", 500});
    server.serve(QStringLiteral("/big"), {QByteArray(300, 'b')});
    server.serve(QStringLiteral("/big-no-length"), bigNoLength);
    server.serve(QStringLiteral("/redirect-here"), sameServer);
    server.serve(QStringLiteral("/redirect-away"), otherServer);

    const struct {
        const char *path;
        qint64 maxBytes;
        Outcome outcome;
        const char *error; // part of the error text
        qint64 bytes;      // written into the sink; -1: not checked
    } cases[] = {
        {"/ok", 5000, Outcome::Complete, "", 5000},
        {"/empty", 10, Outcome::Complete, "", 0},
        {"/no-length", 5000, Outcome::Complete, "", 5000},
        {"/missing", 5000, Outcome::Failed, "Der Server meldet den Fehler 404.", 0},
        {"/error", 5000, Outcome::Failed, "Der Server meldet den Fehler 500.", 0},
        {"/cut", 5000, Outcome::Failed, "vorzeitig beendet", -1},
        {"/cut-slowly", 5000, Outcome::Failed, "vorzeitig beendet", -1},
        {"/big", 299, Outcome::Failed, "zu groß", 0},
        {"/big", 300, Outcome::Complete, "", 300},
        {"/big-no-length", 100, Outcome::Failed, "zu groß", -1},
        {"/redirect-here", 5000, Outcome::Complete, "", 5000},
        {"/redirect-away", 5000, Outcome::Failed, "andere Adresse", 0},
    };
    for (const auto &c : cases) {
        const Result r = fetch(at(server, c.path), c.maxBytes);
        EXPECT_EQ(r.outcome, c.outcome) << c.path;
        EXPECT_TRUE(r.errorText.contains(QString::fromUtf8(c.error))) << c.path << ": " << r.errorText.toStdString();
        EXPECT_TRUE(*c.error != '\0' || r.errorText.isEmpty()) << c.path;
        if (c.bytes >= 0) {
            EXPECT_EQ(r.received.size(), c.bytes) << c.path;
        }
        EXPECT_LE(r.received.size(), c.maxBytes) << c.path;
    }
    EXPECT_EQ(other.requests(QStringLiteral("/ok")), 0) << "no request reached the other server";
}

TEST(HttpDownload, GivesUpWhenNothingArrivesForTheReadTimeOut)
{
    TestHttpServer server;
    TestHttpServer::Response silent;
    silent.silent = true;
    server.serve(QStringLiteral("/silent"), silent);
    const Result r = fetch(at(server, "/silent"), 100, 300);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.errorText, QStringLiteral("Der Server antwortet nicht mehr."));

    // A slow answer whose pieces come within the time-out is no failure.
    TestHttpServer::Response slow{QByteArray(1000, 's')};
    slow.chunkBytes = 100;
    slow.chunkDelayMsecs = 100;
    server.serve(QStringLiteral("/slow"), slow);
    EXPECT_EQ(fetch(at(server, "/slow"), 1000, 300).outcome, Outcome::Complete);
}

TEST(HttpDownload, NoServerAtTheAddress)
{
    quint16 freePort = 0;
    {
        TestHttpServer gone;
        freePort = gone.port();
    }
    const Result r = fetch(QUrl(QStringLiteral("http://127.0.0.1:%1/Updates.ini").arg(freePort)), 100);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.errorText, QStringLiteral("Der Server ist nicht erreichbar."));
}

TEST(HttpDownload, CancelEndsTheTransferAtOnce)
{
    TestHttpServer server;
    TestHttpServer::Response slow{QByteArray(100000, 's')};
    slow.chunkBytes = 1000;
    slow.chunkDelayMsecs = 20;
    server.serve(QStringLiteral("/slow"), slow);

    QNetworkAccessManager network;
    HttpDownload download(network);
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QSignalSpy finished(&download, &HttpDownload::finished);
    QSignalSpy progress(&download, &HttpDownload::progress);
    download.start(at(server, "/slow"), &sink, 200000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress.size() >= 2; }, 10000));
    EXPECT_EQ(progress.last().at(1).toLongLong(), 100000) << "the announced size";
    download.cancel();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().value<Outcome>(), Outcome::Cancelled);
    EXPECT_FALSE(download.running());
    QTest::qWait(100);
    EXPECT_EQ(finished.size(), 1);
    EXPECT_LT(sink.data().size(), 100000);
}

} // namespace
