// The ID3v2 reader over any file: a tag whose sizes run past the file's end raises TagFileError,
// anything else is read without fault.

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
    try {
        TID3v2 tag;
        ReadID3v2(path, tag);
    } catch (const TagFileError&) {
    }
    clearMessages();
    return 0;
}
