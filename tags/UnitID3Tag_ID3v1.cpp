#include "FileLock.h"
#include "FileReplacement.h"
#include "UnitID3Tag_Readers.h"
#include "UserInterface.h"

#include <QFile>
#include <QFileInfo>
#include <cstddef>
#include <cstring>
#include <unistd.h>

namespace {

constexpr qint64 BlockSize = sizeof(TID3v1);

// The block at the end of the file; empty when there is none. A block lies wholly after the ID3v2
// tag's bytes, which end at `tagEnd`: a "TAG" inside the tag of a tiny file is part of the tag, and
// a file of one block's length or less holds audio, not a block.
QByteArray blockAtEnd(int fd, qint64 length, qint64 tagEnd)
{
    const bool room = length > BlockSize && length - BlockSize >= tagEnd;
    const QByteArray bytes = room ? readAt(fd, length - BlockSize, BlockSize) : QByteArray();
    return bytes.size() == BlockSize && bytes.startsWith("TAG") ? bytes : QByteArray();
}

qint64 id3v2BytesEndOf(const QString& fileName)
{
    ReadFile file(fileName);
    return id3v2BytesEnd(id3v2TagIn(file));
}

}  // namespace

QString id3v1Text(const char* field, int width)
{
    return QString::fromLatin1(field, qstrnlen(field, uint(width)));
}

QByteArray id3v1Bytes(const QString& text, int width)
{
    // Counted by code point, so a character beyond the 16-bit range is one "?" too. Composed first:
    // an accent written as a mark after its letter makes one character of the two ("é").
    QByteArray bytes;
    for (const char32_t c : text.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (bytes.size() == width)
            break;
        bytes.append(c <= 0xFF ? char(c) : '?');
    }
    return bytes;
}

void setId3v1Text(char* field, int width, const QString& text)
{
    const QByteArray bytes = id3v1Bytes(text, width);
    std::memset(field, 0, size_t(width));
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
}

void ClearID3v1(TID3v1& block)
{
    std::memset(&block, 0, sizeof block);
    block.Genre = NoGenre;
}

void readID3v1From(ReadFile& file, qint64 tagEnd, qint32& kind, TID3v1& block)
{
    kind = NoID3v1;
    const QByteArray bytes = blockAtEnd(file.handle(), file.length(), tagEnd);
    if (bytes.isEmpty()) {
        std::memset(&block, 0, offsetof(TID3v1, Comment) + 29);
        return;
    }
    std::memcpy(&block, bytes.constData(), sizeof block);
    if (block.Comment[28] == 0 && block.Comment[29] != 0) {
        kind = ID3v1_1;
    } else {
        kind = ID3v1_0;
        block.Comment[29] = 0;
    }
}

void ReadID3v1(const QString& fileName, qint32& kind, TID3v1& block)
{
    kind = NoID3v1;
    ReadFile file(fileName);
    if (file.isOpen())
        readID3v1From(file, id3v2BytesEnd(id3v2TagIn(file)), kind, block);
}

bool WriteID3v1(const TID3v1& block, const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return false;
    const QString failure = "Cannot save tag v1 of '" + fileNameForMessage(fileName) + "'";
    const auto lock = lockForWriting(fileName, failure);
    if (!lock)
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        ui::showMessage(failure + ".", ui::Icon::Error);
        return false;
    }
    const qint64 length = file.size();
    const QByteArray old = blockAtEnd(file.handle(), length, id3v2BytesEndOf(fileName));
    const qint64 position = old.isEmpty() ? length : length - BlockSize;
    const int fd = file.handle();
    const QByteArray bytes(reinterpret_cast<const char*>(&block), BlockSize);
    if (::lseek(fd, position, SEEK_SET) == position && writeAll(fd, bytes) && fileOperations().flush(fd))
        return true;
    // Part of a block would read as none, and the next save would append after it: the file is cut
    // back to its old length, or the old block put back.
    if (position == length)
        file.resize(length);
    else if (::lseek(fd, position, SEEK_SET) == position)
        writeAll(fd, old);
    ui::showMessage(failure + ".", ui::Icon::Error);
    return false;
}

bool RemoveID3v1(const QString& fileName)
{
    const QString failure = "Cannot remove tag v1 of '" + fileNameForMessage(fileName) + "'";
    const auto lock = lockForWriting(fileName, failure);
    if (!lock)
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        ui::showMessage(failure + ".", ui::Icon::Error);
        return false;
    }
    const qint64 length = file.size();
    return blockAtEnd(file.handle(), length, id3v2BytesEndOf(fileName)).isEmpty() || file.resize(length - BlockSize);
}
