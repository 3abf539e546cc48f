// The album entry parser over any lines a server may send between "210" and ".".

#include "FuzzSupport.h"
#include "UnitFreedb.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList entry = ParseAlbumEntry(input.split('\n'));
    // Artist, album, genre, year and at most 100 titles.
    if (entry.size() < 4 || entry.size() > 104)
        __builtin_trap();
    return 0;
}
