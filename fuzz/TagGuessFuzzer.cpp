// The tag guess over any guess format (the first line) and file name (the rest).

#include "FuzzSupport.h"
#include "TagGuess.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = inputLines(data, size, 2);
    guessFromFileName(lines.at(0), lines.mid(1).join(u'\n'));
    return 0;
}
