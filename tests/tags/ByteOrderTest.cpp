#include "ByteOrder.h"

#include <gtest/gtest.h>

namespace {

const uchar* bytes(const QByteArray& data)
{
    return reinterpret_cast<const uchar*>(data.constData());
}

}  // namespace

TEST(ByteOrder, BigEndianIntegers)
{
    EXPECT_EQ(bigEndianToInt(bytes(QByteArray("\x12\x34\x56\x78", 4))), 0x12345678u);
    EXPECT_EQ(bigEndianToInt(bytes(QByteArray("\xFF\xFF\xFF\xFE", 4))), 0xFFFFFFFEu);
    EXPECT_EQ(intToBigEndian(0x12345678u), QByteArray("\x12\x34\x56\x78", 4));
    EXPECT_EQ(intToBigEndian(0), QByteArray(4, '\0'));
}

TEST(ByteOrder, SyncsafeIntegers)
{
    EXPECT_EQ(syncsafeToInt(bytes(QByteArray("\x00\x00\x02\x01", 4))), 257u);
    EXPECT_EQ(syncsafeToInt(bytes(QByteArray("\x7F\x7F\x7F\x7F", 4))), 0x0FFFFFFFu);
    EXPECT_EQ(intToSyncsafe(257), QByteArray("\x00\x00\x02\x01", 4));
    EXPECT_EQ(intToSyncsafe(0x0FFFFFFF), QByteArray("\x7F\x7F\x7F\x7F", 4));
    for (const quint32 value : {0u, 1u, 127u, 128u, 1010u, 16384u, 2097151u, 123456789u})
        EXPECT_EQ(syncsafeToInt(bytes(intToSyncsafe(value))), value) << value;
}

TEST(ByteOrder, SyncsafeTopBitsAreAddedNotMasked)
{
    EXPECT_EQ(syncsafeToInt(bytes(QByteArray("\x00\x00\x00\x80", 4))), 128u);
    EXPECT_EQ(syncsafeToInt(bytes(QByteArray("\x00\x00\x80\x00", 4))), 128u * 128u);
}

TEST(TextDecoding, EachEncodingUpToItsTerminator)
{
    const struct {
        quint8 encoding;
        QByteArray data;
        const char* text;
        qsizetype next;
    } cases[] = {
        {0, QByteArray("Caf\xE9\0rest", 9), "Café", 5},
        {1, QByteArray("\xFF\xFE" "C\0a\0f\0\xE9\0\0\0x", 13), "Café", 12},
        {1, QByteArray("\xFE\xFF\0C\0a\0f\0\xE9\0\0", 12), "Café", 12},
        {2, QByteArray("\0C\0a\0f\0\xE9\0\0\0x", 12), "Café", 10},
        {3, QByteArray("Caf\xC3\xA9\0x", 7), "Café", 6},
        {9, QByteArray("Caf\xE9", 4), "Café", 4},
    };
    for (const auto& c : cases) {
        const DecodedText decoded = decodeText(c.data, 0, c.encoding);
        EXPECT_EQ(decoded.text, QString::fromUtf8(c.text)) << int(c.encoding);
        EXPECT_EQ(decoded.next, c.next) << int(c.encoding);
    }
}

TEST(TextDecoding, Utf16TerminatorLiesOnACharacterBoundary)
{
    // "Ā" followed by "A": the bytes $00 $41 $00 hold no aligned double zero.
    const QByteArray data("\xFF\xFE\x00\x01\x41\x00\x00\x00", 8);
    const DecodedText decoded = decodeText(data, 0, Utf16Text);
    EXPECT_EQ(decoded.text, QString(QChar(0x0100)) + "A");
    EXPECT_EQ(decoded.next, 8);
}

TEST(TextDecoding, OffsetPastTheDataGivesNothing)
{
    const DecodedText decoded = decodeText("abc", 7, Latin1Text);
    EXPECT_TRUE(decoded.text.isEmpty());
    EXPECT_EQ(decoded.next, 7);
}

TEST(TextDecoding, SeveralStringsGiveTheFirstInEveryEncoding)
{
    const QByteArray utf16 = QByteArray("\xFF\xFE" "A\0\0\0\xFE\xFF\0B", 10);
    EXPECT_EQ(decodeText(utf16, 0, Utf16Text).text, "A");
    EXPECT_EQ(decodeText(QByteArray("A\0B", 3), 0, Latin1Text).text, "A");
    EXPECT_EQ(decodeText(QByteArray("A\0B", 3), 0, Utf8Text).text, "A");
}

TEST(TextEncoding, Latin1WhenEverythingFitsElseUtf16)
{
    EXPECT_EQ(textEncodingFor("plain"), Latin1Text);
    EXPECT_EQ(textEncodingFor(QString::fromUtf8("Ça été ÿ")), Latin1Text);
    EXPECT_EQ(textEncodingFor(QString::fromUtf8("Ωmega")), Utf16Text);
    EXPECT_EQ(textEncodingFor(""), Latin1Text);
}

TEST(TextEncoding, BytesOfEachEncodingReadBackAlike)
{
    const QString text = QString::fromUtf8("Ωmega ♫ é");
    EXPECT_EQ(encodeText("Ab", Utf16Text), QByteArray("\xFF\xFE" "A\0b\0", 6));
    EXPECT_EQ(encodeText("Ab", Utf16BigEndianText), QByteArray("\0A\0b", 4));
    EXPECT_EQ(encodeText(QString::fromUtf8("é"), Latin1Text), QByteArray("\xE9"));
    EXPECT_EQ(encodeText(QString(QChar(0xD83D)) + "b", Utf16Text), QByteArray("\xFF\xFE\xFD\xFF" "b\0", 6));
    for (const quint8 encoding : {1, 2, 3})
        EXPECT_EQ(decodeText(encodeText(text, encoding), 0, encoding).text, text) << int(encoding);
    EXPECT_EQ(textTerminator(Latin1Text), QByteArray(1, '\0'));
    EXPECT_EQ(textTerminator(Utf8Text), QByteArray(1, '\0'));
    EXPECT_EQ(textTerminator(Utf16Text), QByteArray(2, '\0'));
    EXPECT_EQ(textTerminator(Utf16BigEndianText), QByteArray(2, '\0'));
}
