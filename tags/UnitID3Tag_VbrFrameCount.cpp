#include "ByteOrder.h"
#include "UnitID3Tag_Readers.h"

#include <string_view>

namespace {

// A 32-bit value of the window; bytes beyond what the file held count as zero.
quint32 bigEndianAt(QByteArrayView window, qsizetype offset)
{
    uchar bytes[4] = {};
    for (qsizetype i = 0; i < 4 && offset + i < window.size(); ++i)
        bytes[i] = uchar(window[offset + i]);
    return bigEndianToInt(bytes);
}

// The first offset of `marker` whose four bytes lie in the searched window, or -1.
qsizetype markerAt(QByteArrayView window, std::string_view marker)
{
    const size_t at = std::string_view(window.data(), size_t(VbrWindowSize)).find(marker);
    return at == std::string_view::npos ? -1 : qsizetype(at);
}

}  // namespace

qint32 findVbrFrameCountIn(QByteArrayView window)
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
    if (!openForReading(file) || offset > file.size() - VbrWindowSize)
        return -1;
    return findVbrFrameCountIn(readAt(file, offset, VbrWindowRead));
}
