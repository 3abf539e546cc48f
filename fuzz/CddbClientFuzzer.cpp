// The CDDB client against a server on 127.0.0.1 that sends the input as everything it has to
// say and then ends its side of the connection. The first byte chooses the exchange: a query, a
// read of one category or a read trying every category. Greetings, hello replies, match lists
// and entries all come from the input, so every reply the client parses is fuzzed.

#include "FuzzSupport.h"
#include "UnitFreedb.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <sys/socket.h>

namespace {

class ScriptServer {
public:
    ScriptServer()
    {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                serve(socket);
        });
    }

    quint16 port() const { return server.serverPort(); }
    QByteArray script;

private:
    // Reads and drops what the client sends, so closing never resets the connection before the
    // client has read everything.
    void serve(QTcpSocket* socket)
    {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket] { endWhenSent(socket); });
        socket->write(script);
        endWhenSent(socket);
    }

    static void endWhenSent(QTcpSocket* socket)
    {
        if (socket->bytesToWrite() == 0)
            ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
    }

    QTcpServer server;
};

std::unique_ptr<ScriptServer> server;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    server = std::make_unique<ScriptServer>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    server->script = QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    TFreedb freedb;
    freedb.FHost = QStringLiteral("127.0.0.1");
    freedb.FPort = server->port();
    freedb.FTimeout = 2000;
    try {
        switch (data[0] % 3) {
        case 0:
            freedb.QueryAlbums(QStringLiteral("05001E02 2 150 900 30"));
            break;
        case 1:
            freedb.ReadAlbum(QStringLiteral("rock"), QStringLiteral("05001E02"));
            break;
        default:
            freedb.ReadAlbum(QString(), QStringLiteral("05001E02"));
            break;
        }
    } catch (const TFreedbConnectionLost&) {
    }
    clearMessages();
    return 0;
}
