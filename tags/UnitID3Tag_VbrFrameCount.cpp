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
// Audio data holds the markers' first letters every few hundred bytes, so sixteen offsets at a time
// are tested for a marker's first and last letter together, which seldom meet by chance.
qsizetype firstMarker(QByteArrayView window)
{
    using Lanes = unsigned char __attribute__((vector_size(16)));
    constexpr qsizetype LaneCount = 16;
    const char* bytes = window.data();
    qsizetype at = 0;
    for (; at + 3 + LaneCount <= VbrWindowSize; at += LaneCount) {
        Lanes first;
        Lanes fourth;
        std::memcpy(&first, bytes + at, LaneCount);
        std::memcpy(&fourth, bytes + at + 3, LaneCount);
        const auto candidates = ((first == uchar('X')) & (fourth == uchar('g'))) | ((first == uchar('V')) & (fourth == uchar('I')));
        quint64 words[LaneCount / 8];
        std::memcpy(words, &candidates, sizeof words);
        quint64 any = 0;
        for (const quint64 word : words)
            any |= word;
        if (any == 0)
            continue;
        for (qsizetype lane = at; lane < at + LaneCount; ++lane) {
            if (isMarkerAt(bytes + lane))
                return lane;
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
