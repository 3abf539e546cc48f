// The playlist reader over any M3U or PLS text (the first byte chooses the kind). A few files lie
// beside and below the playlist, so entries that name them are followed.

#include "FuzzSupport.h"
#include "Playlist.h"
#include "TextFile.h"

#include <QDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    const uint8_t nothing = 0;
    writeInputFile(&nothing, 0, QStringLiteral("a.mp3"));
    QDir(inputFolder()).mkdir(QStringLiteral("sub"));
    writeInputFile(&nothing, 0, QStringLiteral("sub/b.mp3"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QString name = data[0] % 2 == 0 ? QStringLiteral("list.m3u") : QStringLiteral("list.pls");
    const QString path = writeInputFile(data + 1, size - 1, name);
    QStringList paths;
    try {
        readPlaylist(path, paths);
    } catch (const TextFileError&) {
    }
    clearMessages();
    return 0;
}
