// The ID3v1 reader over any file, and the block's texts as the tag page shows them.

#include "FuzzSupport.h"
#include "UnitID3Tag.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = writeInputFile(data, size);
    qint32 kind = NoID3v1;
    TID3v1 block;
    ClearID3v1(block);
    ReadID3v1(path, kind, block);
    if (kind != NoID3v1) {
        const QString texts = id3v1Text(block.Title, 30) + id3v1Text(block.Artist, 30) + id3v1Text(block.Album, 30)
            + id3v1Text(block.Year, 4) + id3v1Text(block.Comment, 30);
        if (texts.size() > 124)
            __builtin_trap();
    }
    clearMessages();
    return 0;
}
