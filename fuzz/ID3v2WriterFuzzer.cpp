// Saving a title into any file and removing its tag, as the save and remove commands do: a save or
// removal that is refused leaves the file byte for byte as it was; one that succeeds keeps every
// byte behind the tag, and a saved title reads back. From the seeds, libFuzzer's changes, cuts and
// extensions make the damaged files.

#include "FuzzSupport.h"
#include "SaveOutcome.h"
#include "UnitUtilities.h"

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
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (!unsoundSaveOrRemoval(path, bytes, title).isEmpty())
        __builtin_trap();
    clearMessages();
    return 0;
}
