// A whole audio file read as the file list reads it: both tags, the VBR count, the first frame
// header, and the information panel's texts built from them.

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
        TMpegFile file;
        file.ReadFromFile(path);
        TMpegFileInfo info;
        GetMpegFileInfo(path, info);
    } catch (const TagFileError&) {
    }
    clearMessages();
    return 0;
}
