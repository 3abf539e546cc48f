#include "ByteOrder.h"
#include "UnitID3Tag_Readers.h"

namespace {

// A 32-bit value of the window; bytes beyond what the file held count as zero.
quint32 bigEndianAt(const QByteArray& window, qsizetype offset)
{
    uchar bytes[4] = {};
    for (qsizetype i = 0; i < 4 && offset + i < window.size(); ++i)
        bytes[i] = uchar(window[offset + i]);
    return bigEndianToInt(bytes);
}

// The first offset of `marker` whose four bytes lie in the searched window, or -1.
qsizetype markerAt(const QByteArray& window, const char* marker)
{
    const qsizetype at = window.indexOf(marker);
    return at >= 0 && at + 4 <= VbrWindowSize ? at : -1;
}

}  // namespace

qint32 findVbrFrameCountIn(const QByteArray& window)
{
    if (window.size() < VbrWindowSize)
        return -1;
    const qsizetype xing = markerAt(window, "Xing");
    const qsizetype vbri = markerAt(window, "VBRI");
    if (xing >= 0 && (vbri < 0 || xing < vbri)) {
        const bool countPresent = (bigEndianAt(window, xing + 4) & 1) != 0;   // the flags word
        return countPresent ? qint32(bigEndianAt(window, xing + 8)) : 0;
    }
    if (vbri >= 0) {
        const quint32 count = bigEndianAt(window, vbri + 14);
        return count > 500000 ? 0 : qint32(count);
    }
    return -1;
}

qint32 FindVbrFrameCount(const QString& fileName, qint32 offset)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || offset > file.size() - VbrWindowSize)
        return -1;
    return findVbrFrameCountIn(readAt(file, offset, VbrWindowRead));
}
