#include "CddbTestServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>

CddbTestServer::CddbTestServer()
{
    server.listen(QHostAddress::LocalHost);
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            ++connections;
            ++openConnections;
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                --openConnections;
                socket->deleteLater();
            });
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            socket->write(greeting);
        }
    });
}

void CddbTestServer::settle()
{
    const QDeadlineTimer deadline(60000);
    while (openConnections > 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(1);
    }
}

void CddbTestServer::answer(QTcpSocket* socket)
{
    while (socket->canReadLine()) {
        QByteArray bytes = socket->readLine();
        bytes.chop(1);
        const bool hasCR = bytes.endsWith('\r');
        if (hasCR)
            bytes.chop(1);
        const QString line = QString::fromUtf8(bytes);
        received << (hasCR ? line : line + QStringLiteral("<no CR>"));
        socket->write(replyTo(line));
        socket->flush();
        if (line == QLatin1String("quit") || closeAfter.contains(line)) {
            socket->disconnectFromHost();
            return;
        }
    }
}

QByteArray CddbTestServer::replyTo(const QString& line) const
{
    if (replies.contains(line))
        return replies.value(line);
    if (line.startsWith(QLatin1String("cddb hello ")))
        return "200 Hello and welcome abc@localhost running Corvane 1.4.\r\n";
    if (line == QLatin1String("proto 5"))
        return "201 OK, CDDB protocol level now: 5\r\n";
    if (line == QLatin1String("quit"))
        return "230 Goodbye.\r\n";
    return "500 Unrecognized command.\r\n";
}

QByteArray entryReply(const QString& category, const QString& discId, const QStringList& lines)
{
    QByteArray reply = QStringLiteral("210 %1 %2 CD database entry follows (until terminating `.')\r\n")
                           .arg(category, discId)
                           .toUtf8();
    for (const QString& line : lines)
        reply += line.toUtf8() + "\r\n";
    return reply + ".\r\n";
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

