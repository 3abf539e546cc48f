#include "UnitFreedb.h"

#include "UserInterface.h"

#include <QTcpSocket>

namespace {

constexpr char EndOfList[] = ".";

}  // namespace

TFreedb::TFreedb()
    : FClient(std::make_unique<QTcpSocket>())
    , FCategories{QStringLiteral("misc"), QStringLiteral("rock"), QStringLiteral("data"), QStringLiteral("blues"),
                  QStringLiteral("jazz"), QStringLiteral("classical"), QStringLiteral("soundtrack"),
                  QStringLiteral("country"), QStringLiteral("folk"), QStringLiteral("newage"), QStringLiteral("reggae")}
{
}

TFreedb::~TFreedb()
{
    FClient->abort();
}

QStringList TFreedb::QueryAlbums(const QString& Args)
{
    QStringList result;
    if (OpenExchange()) {
        SendQuery(Args);
        result = ReadQueryReply();
    }
    Quit();
    return result;
}

QStringList TFreedb::ReadAlbum(const QString& Category, const QString& DiscId)
{
    QStringList result;
    if (OpenExchange()) {
        // Level 5 makes the server include the year and genre lines.
        SendProto(QStringLiteral("5"));
        ReadProtoReply();
        const QStringList categories = Category.isEmpty() ? FCategories : QStringList{Category};
        for (const QString& name : categories) {
            SendRead(name, DiscId);
            result = ReadAlbumReply();
            if (result.size() > 4) {
                if (result.at(2).isEmpty())
                    result[2] = name;
                break;
            }
        }
    }
    Quit();
    return result;
}

// Connects, then greets the server; false when the exchange cannot go on. A refused greeting or
// hello leaves the connection open for the quit.
bool TFreedb::OpenExchange()
{
    Connect();
    if (!Connected()) {
        ui::showMessage(QStringLiteral("Could not connect to server."), ui::Icon::Error, QStringLiteral("Error"));
        return false;
    }
    if (!CheckGreeting())
        return false;
    SendHello();
    return CheckHelloReply();
}

QString TFreedb::GetReplyCode(const QString& Line)
{
    const qsizetype blank = Line.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : Line.left(blank);
}

bool TFreedb::CheckGreeting()
{
    const QString code = GetReplyCode(ReadLn());
    return code == QLatin1String("200") || code == QLatin1String("201");
}

void TFreedb::SendHello()
{
    if (Connected())
        WriteLn(QStringLiteral("cddb hello abc localhost Corvane 1.4"));
}

bool TFreedb::CheckHelloReply()
{
    return GetReplyCode(ReadLn()) == QLatin1String("200");
}

void TFreedb::SendProto(const QString& Level)
{
    if (Connected())
        WriteLn(QStringLiteral("proto ") + Level);
}

bool TFreedb::ReadProtoReply()
{
    ReadLn();
    return true;
}

void TFreedb::SendQuery(const QString& Args)
{
    if (Connected())
        WriteLn(QStringLiteral("cddb query ") + Args);
}

QStringList TFreedb::ReadQueryReply()
{
    QStringList matches;
    const QString line = ReadLn();
    const QString code = GetReplyCode(line);
    if (code == QLatin1String("200")) {
        matches << line.mid(4);
    } else if (code == QLatin1String("210") || code == QLatin1String("211")) {
        // An empty line or a time-out also ends the list; what came before it stays.
        for (QString match = ReadLn(); !match.isEmpty() && match != QLatin1String(EndOfList); match = ReadLn()) {
            if (matches.size() == FMaxReplyLines) {
                CutOff();
                break;
            }
            matches << match;
        }
    } else if (code != QLatin1String("202")) {
        ui::showMessage(QStringLiteral("Received error message from server for query."));
    }
    return matches;
}

void TFreedb::SendRead(const QString& Category, const QString& DiscId)
{
    if (Connected())
        WriteLn(QStringLiteral("cddb read ") + Category + QLatin1Char(' ') + DiscId);
}

QStringList TFreedb::ReadAlbumReply()
{
    if (GetReplyCode(ReadLn()) != QLatin1String("210"))
        return {};

    // An interrupted entry is not used at all. Its lines stay bytes until the lines of a key are
    // joined: a server splits a long value anywhere, inside a character too.
    QList<QByteArray> raw;
    for (QByteArray line = ReadRawLn(); line != EndOfList; line = ReadRawLn()) {
        if (line.isEmpty())
            return {};
        if (raw.size() == FMaxReplyLines) {
            CutOff();
            return {};
        }
        raw << line;
    }
    return ParseAlbumEntry(raw);
}
