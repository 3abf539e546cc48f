#pragma once

// The byte-level values of MPEG and ID3 data: big-endian and syncsafe integers, and the texts of
// ID3v2 frames by their encoding byte. Every reader is bounded by the bytes it is given.

#include <QByteArray>
#include <QString>
#include <array>

// A byte of the data; bytes beyond its end count as zero.
inline quint8 byteAt(QByteArrayView data, qsizetype index)
{
    return index < data.size() ? quint8(data[index]) : 0;
}

template <typename T, size_t N>
void copyBytes(std::array<T, N>& target, QByteArrayView source, qsizetype offset)
{
    for (size_t i = 0; i < N; ++i)
        target[i] = T(byteAt(source, offset + qsizetype(i)));
}

quint32 bigEndianToInt(const uchar* b);   // 4 bytes, most significant first
QByteArray intToBigEndian(quint32 value);

// 4 bytes of 7 bits each, most significant first. Reading adds each byte whole, top bit included,
// so a damaged size reads as the larger value it claims rather than a smaller one.
quint32 syncsafeToInt(const uchar* b);
QByteArray intToSyncsafe(quint32 value);   // values above 2^28 - 1 keep their low 28 bits

// The bytes as they were before unsynchronisation put a zero after every $FF that could be taken
// for the start of a sync. Bytes unsynchronisation cannot have left (a $FF before $E0 or more, or
// at the end) were stored plainly despite the flag, and are taken as they are.
QByteArray withoutUnsynchronisation(const QByteArray& stored);

// The encoding byte that starts an ID3v2 text.
enum ID3TextEncoding : quint8 { Latin1Text = 0, Utf16Text = 1, Utf16BigEndianText = 2, Utf8Text = 3 };

struct DecodedText {
    QString text;
    qsizetype next = 0;   // the offset after the text's terminator (or the data's size)
};

// One text from `offset` to its terminator or the end of the data: a zero byte, or for UTF-16 two
// zero bytes on a character boundary. UTF-16 with byte-order mark takes its order from the mark;
// without one, from the first character read as Latin-1. Encodings above 3 read as ISO-8859-1.
DecodedText decodeText(const QByteArray& data, qsizetype offset, quint8 encoding);

// The encoding a text is written in: ISO-8859-1 when every character fits, otherwise UTF-16 with
// byte-order mark, so no text is ever corrupted.
quint8 textEncodingFor(const QString& text);
// The text's bytes in that encoding (UTF-16 little-endian after its mark), without a terminator.
QByteArray encodeText(const QString& text, quint8 encoding);
// The terminator after a text that is followed by another: one zero byte, two for UTF-16.
QByteArray textTerminator(quint8 encoding);
