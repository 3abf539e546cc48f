#include "ScriptedUserInterface.h"
#include "UnitFreedb.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Servers that misbehave on purpose: lines without end, replies without end, a connection that
// drops in the middle of an entry, a server that trickles. The lookup always ends, with the
// outcome of an empty or short result, within the time-outs and without holding what the server
// sends.

namespace {

constexpr int TimeOut = 1000;   // milliseconds per read, shortened from 15 seconds
// For what must end long before a time-out: far above any time the test takes on a busy machine.
constexpr int LongTimeOut = 120000;
// For what ends at a time-out: long enough for one time-out and a slow machine, far shorter than
// the server takes to say everything.
constexpr int EndsAtTheTimeOut = 15 * TimeOut;

// AddressSanitizer holds freed memory back to catch late uses, so there the peak tells nothing.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool PeakMemoryCounts = false;
#else
constexpr bool PeakMemoryCounts = true;
#endif

// Bytes the server sends on demand; an empty piece ends what it has to say.
using Source = std::function<QByteArray()>;

// Greets, answers hello and proto, and answers the query or read command from its source. It
// sends no more than the client takes in, so a reply without end costs no memory here.
class HostileServer {
public:
    HostileServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                serve(socket);
        });
    }

    quint16 port() const { return server.serverPort(); }

    QByteArray greeting = "201 hostile server ready\r\n";
    bool trickleGreeting = false;   // one byte a second
    Source reply;                   // to the query or read command
    int trickleReplyEvery = 0;      // milliseconds between the reply's bytes; 0: as fast as taken
    bool closeAfterReply = false;   // drop the connection once the reply is sent
    qint64 sent = 0;                // bytes of the reply sent

private:
    void serve(QTcpSocket* socket)
    {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        if (!trickleGreeting) {
            socket->write(greeting);
            return;
        }
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [this, socket, next = qsizetype(0)]() mutable {
            if (next < greeting.size())
                socket->write(greeting.mid(next++, 1));
        });
        timer->start(1000);
    }

    void answer(QTcpSocket* socket)
    {
        while (socket->canReadLine()) {
            const QByteArray line = socket->readLine().trimmed();
            if (line.startsWith("cddb hello"))
                socket->write("200 hello and welcome\r\n");
            else if (line.startsWith("proto"))
                socket->write("201 OK, protocol level now: 5\r\n");
            else if (line.startsWith("cddb query") || line.startsWith("cddb read"))
                startReply(socket);
            else if (line == "quit")
                socket->disconnectFromHost();
        }
    }

    void startReply(QTcpSocket* socket)
    {
        if (trickleReplyEvery > 0) {
            trickle(socket);
            return;
        }
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] { pump(socket); });
        pump(socket);
    }

    void pump(QTcpSocket* socket)
    {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024) {
            const QByteArray piece = reply();
            if (piece.isEmpty()) {
                if (closeAfterReply)
                    socket->disconnectFromHost();
                return;
            }
            sent += piece.size();
            socket->write(piece);
        }
    }

    void trickle(QTcpSocket* socket)
    {
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [this, socket, pending = QByteArray()]() mutable {
            if (pending.isEmpty())
                pending = reply();
            if (pending.isEmpty())
                return;
            socket->write(pending.left(1));
            pending.remove(0, 1);
            ++sent;
        });
        timer->start(trickleReplyEvery);
    }

    QTcpServer server;
};

// Pieces of a reply: the given head, then `next` until it gives an empty piece.
Source replyOf(const QByteArray& head, std::function<QByteArray(qint64 index)> next)
{
    return [head, next, index = qint64(-1)]() mutable { return ++index == 0 ? head : next(index - 1); };
}

// The most memory this process has held so far, in bytes.
qint64 peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

class HostileServerTest : public ::testing::Test {
protected:
    HostileServerTest()
    {
        freedb.FHost = QStringLiteral("127.0.0.1");
        freedb.FPort = server.port();
        freedb.FTimeout = TimeOut;
        clock.start();
    }

    // What the lookup may hold at most beyond what it held before: a few megabytes of texts.
    void expectBoundedMemory()
    {
        if (PeakMemoryCounts) {
            EXPECT_LT(peakMemory() - memoryBefore, 64 * 1024 * 1024);
        }
    }

    ScriptedUserInterface ui;
    HostileServer server;
    TFreedb freedb;
    QElapsedTimer clock;
    const qint64 memoryBefore = peakMemory();
};

const QString Args = QStringLiteral("05001E02 2 150 900 30");

QByteArray match(qint64 index)
{
    return "rock " + QByteArray::number(index, 16).rightJustified(8, '0') + " Band / Album\r\n";
}

}  // namespace

TEST_F(HostileServerTest, EndlessMatchListIsCutOffAtTheLineCap)
{
    freedb.FMaxReplyLines = 500;
    server.reply = replyOf("211 close matches follow\r\n", match);

    const QStringList matches = freedb.QueryAlbums(Args);
    EXPECT_EQ(matches.size(), 500);
    EXPECT_EQ(matches.value(0), QStringLiteral("rock 00000000 Band / Album"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(HostileServerTest, EndlessMatchListIsCutOffAtTheByteCap)
{
    freedb.FMaxConnectionBytes = 64 * 1024;
    server.reply = replyOf("211 close matches follow\r\n", match);

    const QStringList matches = freedb.QueryAlbums(Args);
    EXPECT_GT(matches.size(), 1000);
    EXPECT_LT(matches.size() * match(0).size(), 64 * 1024);
}

TEST_F(HostileServerTest, EndlessEntryIsNotUsed)
{
    freedb.FMaxReplyLines = 500;
    server.reply = replyOf("210 rock 05001e02 entry follows\r\nDTITLE=Band / Album\r\nTTITLE0=One\r\n",
                           [](qint64) { return QByteArray("EXTT0=and more\r\n"); });

    EXPECT_TRUE(freedb.ReadAlbum(QStringLiteral("rock"), QStringLiteral("05001E02")).isEmpty());
    EXPECT_LT(server.sent, 16 * 1024 * 1024);
}

TEST_F(HostileServerTest, LineOf100MegabytesIsNeitherHeldNorWaitedFor)
{
    constexpr qint64 LineBytes = 100 * 1000 * 1000;
    constexpr qint64 PieceBytes = 64 * 1024;
    server.reply = replyOf("211 close matches follow\r\nrock 0a ", [](qint64 index) {
        return index * PieceBytes < LineBytes ? QByteArray(PieceBytes, 'x') : QByteArray("\r\n.\r\n");
    });
    // Waiting for the line's end would take this long; the cut-off comes long before.
    freedb.FTimeout = LongTimeOut;

    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    // More than one line may hold was sent, but far from all of it.
    EXPECT_GT(server.sent, 64 * 1024);
    EXPECT_LT(server.sent, LineBytes / 10);
    EXPECT_LT(clock.elapsed(), LongTimeOut / 2);
    expectBoundedMemory();
}

TEST_F(HostileServerTest, EntryWithoutEndEndsAtTheTimeOut)
{
    server.reply = replyOf("210 rock 05001e02 entry follows\r\nDTITLE=Band / Album\r\nTTITLE0=One\r\n",
                           [](qint64) { return QByteArray(); });

    EXPECT_TRUE(freedb.ReadAlbum(QStringLiteral("rock"), QStringLiteral("05001E02")).isEmpty());
    // One read waits out its time-out, then the goodbye waits for the server to close.
    EXPECT_GE(clock.elapsed(), TimeOut);
    EXPECT_LT(clock.elapsed(), EndsAtTheTimeOut);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(HostileServerTest, MatchListTrickledWithinEachLinesTimeOutEndsAtTheExchangeLimit)
{
    // Each line arrives well within its time-out, but the whole list would take a minute.
    constexpr qint64 Matches = 400;
    server.trickleReplyEvery = 5;
    server.reply = replyOf("211 close matches follow\r\n", [](qint64 index) {
        return index < Matches ? match(index) : index == Matches ? QByteArray(".\r\n") : QByteArray();
    });
    freedb.FTimeout = LongTimeOut;
    freedb.FExchangeTimeout = TimeOut;

    const QStringList matches = freedb.QueryAlbums(Args);
    // What arrived before the limit stays, as before any time-out.
    EXPECT_TRUE(matches.isEmpty() || matches.first() == QStringLiteral("rock 00000000 Band / Album"));
    EXPECT_LT(server.sent, Matches * match(0).size() / 2);
    EXPECT_GE(clock.elapsed(), TimeOut);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(HostileServerTest, ConnectionClosedInTheMiddleOfAnEntryRaises)
{
    server.reply = replyOf("210 rock 05001e02 entry follows\r\nDTITLE=Band / Album\r\nTTITLE0=One\r\n",
                           [](qint64) { return QByteArray(); });
    server.closeAfterReply = true;
    freedb.FTimeout = LongTimeOut;

    EXPECT_THROW(freedb.ReadAlbum(QStringLiteral("rock"), QStringLiteral("05001E02")), TFreedbConnectionLost);
    EXPECT_LT(clock.elapsed(), LongTimeOut / 2);
}

TEST_F(HostileServerTest, ServerTricklingAByteASecondEndsAtTheTimeOut)
{
    server.trickleGreeting = true;

    EXPECT_TRUE(freedb.QueryAlbums(Args).isEmpty());
    EXPECT_GE(clock.elapsed(), TimeOut);
    EXPECT_LT(clock.elapsed(), EndsAtTheTimeOut);
    EXPECT_TRUE(ui.messages.isEmpty());
}
