#pragma once

// The client of a CDDB server: asks for the albums that match a disc id and reads one album's
// entry. Each operation opens its own connection, runs one short exchange and closes it. Every
// wait runs a local event loop, so the windows keep repainting while the server answers.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

class QTcpSocket;

// The server closed the connection in the middle of an exchange.
class TFreedbConnectionLost : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFreedb {
public:
    TFreedb();
    ~TFreedb();
    TFreedb(const TFreedb&) = delete;
    TFreedb& operator=(const TFreedb&) = delete;

    // The matches the server lists: "category discid title" each; empty when none or on failure.
    QStringList QueryAlbums(const QString& Args);
    // Artist, album, genre, year, then one title per track; an empty Category tries every category.
    // Fewer than five entries means "not found".
    QStringList ReadAlbum(const QString& Category, const QString& DiscId);

    // The query arguments for tracks of the given lengths in seconds: disc id, count, offsets, total.
    static QString BuildQuery(const QList<qint32>& Lengths);
    static qint32 DigitSum(qint32 Value);

    QString FHost;
    qint32 FPort = 8880;
    int FTimeout = 15000;   // milliseconds for connecting and for each line read
    // Milliseconds for one whole exchange, from connecting to the goodbye: a server that trickles
    // its lines slower than any real one cannot hold the lookup for ever.
    int FExchangeTimeout = 60000;
    // A server can send anything; these bound what one exchange may cost. Real entries are a few
    // kilobytes.
    qsizetype FMaxReplyLines = 100000;
    qint64 FMaxConnectionBytes = 16 * 1024 * 1024;

private:
    bool OpenExchange();
    void Connect();
    bool Connected() const;
    static QString GetReplyCode(const QString& Line);
    bool CheckGreeting();
    void SendHello();
    bool CheckHelloReply();
    void SendProto(const QString& Level);
    bool ReadProtoReply();
    void SendQuery(const QString& Args);
    QStringList ReadQueryReply();
    void SendRead(const QString& Category, const QString& DiscId);
    QStringList ReadAlbumReply();
    void Quit();

    void WriteLn(const QString& Line);
    QString ReadLn();
    QByteArray ReadRawLn();
    QDeadlineTimer Deadline() const;
    bool WaitForSocket(const QDeadlineTimer& deadline);
    void CutOff();

    std::unique_ptr<QTcpSocket> FClient;
    const QStringList FCategories;
    bool FCutOff = false;       // this side dropped the connection: every further read is empty
    qint64 FBytesRead = 0;      // on the current connection
    QDeadlineTimer FExchangeDeadline;   // of the current connection
    QByteArray FLineBuffer;     // room for the longest line, kept from line to line
};

// The album entry of an xmcd entry's lines as sent: artist, album, genre, year, then the track
// titles.
QStringList ParseAlbumEntry(const QList<QByteArray>& Raw);

// A server's text: UTF-8 when it is UTF-8, else Latin-1. A character that the end cuts short is
// dropped from a text that is UTF-8 before it.
QString decodeServerText(const QByteArray& bytes);
