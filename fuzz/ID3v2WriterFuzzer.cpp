// Saving a title into any file, as the save command does: whatever tag the file held, a save that
// succeeds leaves the audio behind the tag byte for byte as it was, and a tag of a version read
// frame by frame (2.3, 2.4) gives the saved title back.

#include "FuzzSupport.h"
#include "UnitID3Tag.h"
#include "UnitID3Tag_Readers.h"
#include "UnitUtilities.h"

#include <QFile>

namespace {

QByteArray audioOf(const QString& path)
{
    TID3v2 tag;
    ReadID3v2(path, tag);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        __builtin_trap();
    return file.readAll().mid(audioStartAfter(tag));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    setDelayScale(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte: how long a title to save, so both the write in place and the rewrite run.
    const QString title(data[0], u'T');
    const QString path = writeInputFile(data + 1, size - 1);
    TID3v2 tag;
    QByteArray audio;
    try {
        ReadID3v2(path, tag);
        audio = audioOf(path);
    } catch (const TagFileError&) {
        return 0;
    }
    // The save command removes a 2.2 tag before it writes one of its own. A tag that claims more
    // than the file is written in place at its claimed size: megabytes of zeros that only slow
    // the search down.
    if (tag.Present && (tag.Version == 2 || audioStartAfter(tag) > qint64(size - 1)))
        return 0;
    if (!tag.Present)
        MakeNewID3v2Header(tag);
    tag.Title = title;
    if (WriteID3v2(tag, path)) {
        TID3v2 written;
        ReadID3v2(path, written);
        const bool framesRead = written.Version == 3 || written.Version == 4;
        if (!written.Present || (framesRead && written.Title != title) || audioOf(path) != audio)
            __builtin_trap();
    }
    clearMessages();
    return 0;
}
