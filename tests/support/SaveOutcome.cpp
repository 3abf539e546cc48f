#include "SaveOutcome.h"

#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"

#include <QFile>
#include <QList>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("Cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every frame's id and data as the reader gives them, but the titles the save edits.
QList<QByteArray> framesBesidesTitle(const TID3v2& tag)
{
    QList<QByteArray> frames;
    for (const TID3v2Frame& frame : *tag.Frames) {
        if (!MatchFrameID(frame.FrameID, "TIT2"))
            frames.append(QByteArray(frame.FrameID.data(), 4) + frameData(tag, frame));
    }
    return frames;
}

QString unsoundSave(const QString& path, const QByteArray& bytes, const QString& title, QByteArray* savedFile)
{
    writeFile(path, bytes);
    TMpegFile file;
    try {
        file.ReadFromFile(path);
    } catch (const TagFileError&) {
        return {};   // never opened, so never saved
    }
    TID3v2 tag = file.ID3v2;
    // The save command removes a 2.2 tag before it writes one of its own.
    if (tag.Present && tag.Version == 2)
        return {};
    const qint64 audioStart = audioStartAfter(tag);
    const QList<QByteArray> frames = framesBesidesTitle(tag);
    if (!tag.Present)
        MakeNewID3v2Header(tag);
    tag.Title = title;
    bool saved = false;
    try {
        saved = WriteID3v2(tag, path);
    } catch (const TagFileError&) {
    }
    const QByteArray now = readFile(path);
    if (!saved)
        return now == bytes ? QString() : QStringLiteral("a refused save changed the file");
    TID3v2 written;
    try {
        ReadID3v2(path, written);
    } catch (const TagFileError&) {
        return QStringLiteral("the saved file cannot be read");
    }
    if (written.Title != title)
        return QStringLiteral("the saved title does not read back");
    // A tag that claims more than the file holds has nothing behind it to keep: the audio it
    // claims is lost.
    if (audioStart > bytes.size() || now.mid(audioStartAfter(written)) != bytes.mid(audioStart))
        return QStringLiteral("the save changed the bytes behind the tag");
    if (framesBesidesTitle(written) != frames)
        return QStringLiteral("the save changed frames it was not asked to edit");
    if (savedFile)
        *savedFile = now;
    return {};
}

QString unsoundRemoval(const QString& path, const QByteArray& bytes)
{
    writeFile(path, bytes);
    TID3v2 tag;
    try {
        ReadID3v2(path, tag);
    } catch (const TagFileError&) {
        return {};
    }
    bool removed = false;
    try {
        removed = RemoveID3v2(path, *tag.ReadState);
    } catch (const TagFileError&) {
    }
    const QByteArray now = readFile(path);
    if (!removed)
        return now == bytes ? QString() : QStringLiteral("a refused removal changed the file");
    const qint64 audioStart = audioStartAfter(tag);
    return audioStart <= bytes.size() && now == bytes.mid(audioStart) ? QString()
                                                                      : QStringLiteral("the removal changed the bytes behind the tag");
}

}  // namespace

QString unsoundSaveOrRemoval(const QString& path, const QByteArray& bytes, const QString& title, QByteArray* saved)
{
    const QString save = unsoundSave(path, bytes, title, saved);
    return save.isEmpty() ? unsoundRemoval(path, bytes) : save;
}
