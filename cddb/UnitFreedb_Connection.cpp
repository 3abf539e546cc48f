#include "UnitFreedb.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QStringDecoder>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {

// Real lines are short; a longer one is a misbehaving server.
constexpr qint64 MaxLineBytes = 64 * 1024;
// The socket buffers at most this much, so a whole line always fits in it.
constexpr qint64 ReadBufferBytes = MaxLineBytes + 2;

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

// Servers send UTF-8 today; older entries are Latin-1.
QString decodeServerText(const QByteArray& bytes)
{
    // The decoder keeps a character that the end cuts short for more input, which never comes. A
    // Latin-1 text can end in what looks like the start of one ("Caf\xE9"), so only a text that
    // shows UTF-8 before its end is taken for UTF-8 without it.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError() || (isAscii(text) && !bytes.isValidUtf8()))
        return QString::fromLatin1(bytes);
    return text;
}

void TFreedb::Connect()
{
    FClient->abort();
    FCutOff = false;
    FBytesRead = 0;
    FExchangeDeadline.setRemainingTime(FExchangeTimeout);
    if (FPort <= 0 || FPort > 65535)
        return;
    // Bounded so that a line without its end cannot grow without limit.
    FClient->setReadBufferSize(ReadBufferBytes);
    FClient->connectToHost(FHost, static_cast<quint16>(FPort));
    const QDeadlineTimer deadline = Deadline();
    while (FClient->state() != QAbstractSocket::ConnectedState && FClient->state() != QAbstractSocket::UnconnectedState) {
        if (!WaitForSocket(deadline))
            break;
    }
    if (!Connected())
        FClient->abort();
}

bool TFreedb::Connected() const
{
    return FClient->state() == QAbstractSocket::ConnectedState;
}

void TFreedb::Quit()
{
    if (!Connected())
        return;
    WriteLn(QStringLiteral("quit"));
    FClient->disconnectFromHost();
    const QDeadlineTimer deadline = Deadline();
    while (FClient->state() != QAbstractSocket::UnconnectedState && WaitForSocket(deadline)) {
    }
    FClient->abort();
}

void TFreedb::WriteLn(const QString& Line)
{
    FClient->write(Line.toUtf8() + "\r\n");
    FClient->flush();
}

QString TFreedb::ReadLn()
{
    return decodeServerText(ReadRawLn());
}

// One line without its end (LF, with or without CR before it). Empty after the time-out and once
// the connection has been cut off; raises when the server closed the connection instead.
QByteArray TFreedb::ReadRawLn()
{
    const QDeadlineTimer deadline = Deadline();
    while (!FCutOff) {
        if (FClient->canReadLine()) {
            // Read into the room kept for lines: a block of the longest line's size for every
            // short line is what a long reply would cost otherwise.
            FLineBuffer.resize(ReadBufferBytes + 1);
            const qint64 length = FClient->readLine(FLineBuffer.data(), FLineBuffer.size());
            QByteArray line(FLineBuffer.constData(), std::max<qint64>(length, 0));
            FBytesRead += line.size();
            if (FBytesRead > FMaxConnectionBytes) {
                CutOff();
                break;
            }
            line.chop(line.endsWith("\r\n") ? 2 : 1);
            return line;
        }
        // A full buffer without a line end holds more than one line may.
        if (FClient->bytesAvailable() >= FClient->readBufferSize()) {
            CutOff();
            break;
        }
        if (!Connected())
            throw TFreedbConnectionLost("The server closed the connection.");
        if (!WaitForSocket(deadline))
            break;
    }
    return {};
}

// The time-out of one step, cut short where the exchange's own limit ends first; past that limit
// every read times out at once.
QDeadlineTimer TFreedb::Deadline() const
{
    return std::min(QDeadlineTimer(FTimeout), FExchangeDeadline);
}

// Processes events until the socket reports something or the deadline passes; false once it has.
bool TFreedb::WaitForSocket(const QDeadlineTimer& deadline)
{
    if (deadline.hasExpired())
        return false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(FClient.get(), &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(FClient.get(), &QTcpSocket::stateChanged, &loop, &QEventLoop::quit);
    QObject::connect(FClient.get(), &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(deadline.remainingTime()));
    loop.exec();
    return !deadline.hasExpired();
}

void TFreedb::CutOff()
{
    FClient->abort();
    FCutOff = true;
}
