// The frame header scan and the VBR count over any file. The count is asked where the reader asks
// for it (after the tag) and at the header the scan found.

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
        TMpegHeader header;
        FindMpegHeader(path, header);
        FindVbrFrameCount(path, 0);
        FindVbrFrameCount(path, header.Position);
    } catch (const TagFileError&) {
    }
    clearMessages();
    return 0;
}
