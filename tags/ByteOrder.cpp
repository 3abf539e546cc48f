#include "ByteOrder.h"

#include <QList>

quint32 bigEndianToInt(const uchar* b)
{
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
}

QByteArray intToBigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (24 - 8 * i));
    return bytes;
}

quint32 syncsafeToInt(const uchar* b)
{
    return quint32(b[0]) * (1u << 21) + quint32(b[1]) * (1u << 14) + quint32(b[2]) * (1u << 7) + quint32(b[3]);
}

QByteArray intToSyncsafe(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (21 - 7 * i)) & 0x7F);
    return bytes;
}

QByteArray withoutUnsynchronisation(const QByteArray& stored)
{
    QByteArray plain;
    plain.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        plain.append(stored[i]);
        if (stored[i] != '\xFF')
            continue;
        if (i + 1 == stored.size() || quint8(stored[i + 1]) >= 0xE0)
            return stored;
        if (stored[i + 1] == '\0')
            ++i;
    }
    return plain;
}

namespace {

bool isUtf16(quint8 encoding)
{
    return encoding == Utf16Text || encoding == Utf16BigEndianText;
}

// Where the text that starts at `offset` ends: at its terminator, or at the end of the data.
qsizetype textEnd(const QByteArray& data, qsizetype offset, quint8 encoding)
{
    if (!isUtf16(encoding)) {
        const qsizetype zero = data.indexOf('\0', offset);
        return zero < 0 ? data.size() : zero;
    }
    for (qsizetype i = offset; i + 1 < data.size(); i += 2) {
        if (data[i] == '\0' && data[i + 1] == '\0')
            return i;
    }
    return data.size();
}

QString fromUtf16(const uchar* p, qsizetype length, bool bigEndian)
{
    QString text;
    text.reserve(length / 2);
    for (qsizetype i = 0; i + 1 < length; i += 2) {
        const char16_t unit = bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i] | p[i + 1] << 8);
        text.append(QChar(unit));
    }
    return text;
}

QString fromUtf16WithMark(const uchar* p, qsizetype length)
{
    if (length >= 2 && p[0] == 0xFF && p[1] == 0xFE)
        return fromUtf16(p + 2, length - 2, false);
    if (length >= 2 && p[0] == 0xFE && p[1] == 0xFF)
        return fromUtf16(p + 2, length - 2, true);
    // Without a mark, a first character of ISO-8859-1 tells the order.
    const bool bigEndian = length >= 2 && p[0] == 0 && p[1] != 0;
    return fromUtf16(p, length, bigEndian);
}

}  // namespace

DecodedText decodeText(const QByteArray& data, qsizetype offset, quint8 encoding)
{
    if (offset >= data.size())
        return {QString(), offset};
    const qsizetype end = textEnd(data, offset, encoding);
    const auto* p = reinterpret_cast<const uchar*>(data.constData()) + offset;
    const qsizetype length = end - offset;
    DecodedText result;
    switch (encoding) {
    case Utf16Text:
        result.text = fromUtf16WithMark(p, length);
        break;
    case Utf16BigEndianText:
        result.text = fromUtf16(p, length, true);
        break;
    case Utf8Text:
        result.text = QString::fromUtf8(reinterpret_cast<const char*>(p), length);
        break;
    default:
        result.text = QString::fromLatin1(reinterpret_cast<const char*>(p), length);
        break;
    }
    result.next = end < data.size() ? end + (isUtf16(encoding) ? 2 : 1) : data.size();
    return result;
}

quint8 textEncodingFor(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return Utf16Text;
    }
    return Latin1Text;
}

QByteArray encodeText(const QString& text, quint8 encoding)
{
    switch (encoding) {
    case Utf16Text:
    case Utf16BigEndianText: {
        const bool bigEndian = encoding == Utf16BigEndianText;
        QByteArray bytes;
        bytes.reserve(2 + 2 * text.size());
        if (!bigEndian)
            bytes.append("\xFF\xFE", 2);
        // By whole characters: a lone surrogate is none, and other readers drop the whole text for it.
        for (const char32_t c : text.toUcs4()) {
            for (const char16_t unit : QChar::fromUcs4(c)) {
                const char high = char(unit >> 8);
                const char low = char(unit & 0xFF);
                bytes.append(bigEndian ? high : low);
                bytes.append(bigEndian ? low : high);
            }
        }
        return bytes;
    }
    case Utf8Text:
        return text.toUtf8();
    default:
        return text.toLatin1();
    }
}

QByteArray textTerminator(quint8 encoding)
{
    return QByteArray(isUtf16(encoding) ? 2 : 1, '\0');
}
