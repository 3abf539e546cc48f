#pragma once

#include "QStringPrinter.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTcpServer>
#include <ostream>

// A CDDB server for one test on 127.0.0.1: greets every connection, records every line it
// receives and answers each from the test's script. It runs on the test's own thread; the
// client's waits process its events.
class CddbTestServer {
public:
    CddbTestServer();

    quint16 port() const { return server.serverPort(); }
    // Processes events until every connection has closed, so the last lines are recorded.
    void settle();

    QByteArray greeting = "201 test CDDBP server ready\r\n";   // empty: never greets
    QHash<QString, QByteArray> replies;   // by received line; hello, proto and quit have defaults
    QSet<QString> closeAfter;             // lines after whose reply the connection is dropped
    QStringList received;                 // in order over all connections; "<no CR>" marks a bare LF
    int connections = 0;
    int openConnections = 0;

private:
    void answer(QTcpSocket* socket);
    QByteArray replyTo(const QString& line) const;

    QTcpServer server;
};

// The "210" reply of a read, the entry's lines and the closing ".".
QByteArray entryReply(const QString& category, const QString& discId, const QStringList& lines);

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort();

