#include "ByteOrder.h"
#include "UnitID3Tag_Readers.h"

#include <cstring>

namespace {

// A 32-bit value of the window; bytes beyond what the file held count as zero.
quint32 bigEndianAt(QByteArrayView window, qsizetype offset)
{
    uchar bytes[4] = {};
    for (qsizetype i = 0; i < 4 && offset + i < window.size(); ++i)
        bytes[i] = uchar(window[offset + i]);
    return bigEndianToInt(bytes);
}

bool isMarkerAt(const char* bytes)
{
    return std::memcmp(bytes, "Xing", 4) == 0 || std::memcmp(bytes, "VBRI", 4) == 0;
}

// The first offset where "Xing" or "VBRI" begins with all four bytes in the searched window, or -1.
// Audio data holds the markers' first letters every few hundred bytes, so the offsets are tested
// many at a time for a marker's first and last letter together, which seldom meet by chance, and
// only a block where they do is searched offset by offset. The window is searched in every file
// read: the search uses the widest vectors the processor has.
__attribute__((target_clones("avx2", "default"))) qsizetype firstMarker(QByteArrayView window)
{
    using Lanes = unsigned char __attribute__((vector_size(32)));
    constexpr qsizetype LaneCount = 32;
    constexpr qsizetype BlockSize = 8 * LaneCount;
    const char* bytes = window.data();
    qsizetype at = 0;
    for (; at + 3 + BlockSize <= VbrWindowSize; at += BlockSize) {
        Lanes candidates{};
        for (qsizetype lane = at; lane < at + BlockSize; lane += LaneCount) {
            Lanes first;
            Lanes fourth;
            std::memcpy(&first, bytes + lane, LaneCount);
            std::memcpy(&fourth, bytes + lane + 3, LaneCount);
            candidates |= ((first == uchar('X')) & (fourth == uchar('g'))) | ((first == uchar('V')) & (fourth == uchar('I')));
        }
        quint64 words[LaneCount / 8];
        std::memcpy(words, &candidates, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) == 0)
            continue;
        for (qsizetype offset = at; offset < at + BlockSize; ++offset) {
            if (isMarkerAt(bytes + offset))
                return offset;
        }
    }
    for (; at + 4 <= VbrWindowSize; ++at) {
        if (isMarkerAt(bytes + at))
            return at;
    }
    return -1;
}

}  // namespace

qint32 findVbrFrameCountIn(QByteArrayView window)
{
    if (window.size() < VbrWindowSize)
        return -1;
    // The marker met first counts.
    const qsizetype at = firstMarker(window);
    if (at >= 0 && window[at] == 'X') {
        const bool countPresent = (bigEndianAt(window, at + 4) & 1) != 0;   // the flags word
        return countPresent ? qint32(bigEndianAt(window, at + 8)) : 0;
    }
    if (at >= 0) {
        const quint32 count = bigEndianAt(window, at + 14);
        return count > 500000 ? 0 : qint32(count);
    }
    return -1;
}

qint32 FindVbrFrameCount(const QString& fileName, qint32 offset)
{
    ReadFile file(fileName);
    if (!file.isOpen() || offset > file.length() - VbrWindowSize)
        return -1;
    return findVbrFrameCountIn(file.readAt(offset, VbrWindowRead));
}
