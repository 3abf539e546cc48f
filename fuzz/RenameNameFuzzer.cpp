// The new name built from a tag, over any format, tag values, dictionary words and settings. The
// input's lines: format, artist, album, title, track, bitrate, dictionary words, preset, case,
// replacement text, and whether blanks are replaced.

#include "FuzzSupport.h"
#include "RenameRules.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    initializeFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines = inputLines(data, size, 11);
    const RenameFields fields{lines.at(1), lines.at(2), lines.at(3), lines.at(4)};
    RenameSettings settings;
    settings.renameFormat = lines.at(7);
    settings.renameFormatUser = lines.at(0);
    settings.renameCase = lines.at(8);
    settings.dictionaryWords = lines.at(6);
    settings.invalidChar = lines.at(9);
    settings.replaceSpace = lines.at(10) == QLatin1String("1");
    const QStringList words = lines.at(6).split(u';');
    buildRenameName(lines.at(0), fields, lines.at(5), words, settings);
    buildRenameName(QString(), fields, lines.at(5), words, settings);
    return 0;
}
