#include "AudioFixtures.h"
#include "TempDir.h"
#include "UnitID3Tag.h"

#include <gtest/gtest.h>

namespace {

// A window of audio-like bytes full of near misses, some with a marker's first and last letter.
QByteArray nearMisses()
{
    const QByteArray misses[] = {"Xin.", "XinG", "VBR.", "VBRi", "xing", "Xang", "VBqI", "XBRI", "VBRg", "Xig"};
    QByteArray window;
    for (int i = 0; window.size() < 50100; ++i)
        window += misses[i % 10] + char(i % 251);
    return window;
}

qint32 countAt(qsizetype offset, const QByteArray& marker, quint32 flags, quint32 count)
{
    QByteArray window = nearMisses();
    const QByteArray record = marker == "Xing" ? marker + fixtures::bigEndian32(flags) + fixtures::bigEndian32(count)
                                               : marker + QByteArray(10, '\0') + fixtures::bigEndian32(count);
    window.replace(offset, record.size(), record);
    TempDir dir;
    return FindVbrFrameCount(dir.write("song.mp3", window), 0);
}

}  // namespace

TEST(VbrMarkerSearch, NearMissesAreNoMarker)
{
    TempDir dir;
    EXPECT_EQ(FindVbrFrameCount(dir.write("song.mp3", nearMisses()), 0), -1);
}

TEST(VbrMarkerSearch, MarkerIsFoundAtEveryOffsetOfTheWindow)
{
    for (const qsizetype offset : {0, 1, 3, 13, 14, 15, 16, 17, 31, 32, 4097, 49967, 49968, 49983, 49984, 49985, 49996}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(countAt(offset, "Xing", 1, 77), 77);
        EXPECT_EQ(countAt(offset, "VBRI", 0, 88), 88);
    }
}

TEST(VbrMarkerSearch, MarkerBeginningPastTheWindowIsNotSeen)
{
    EXPECT_EQ(countAt(49997, "Xing", 1, 77), -1);
}
