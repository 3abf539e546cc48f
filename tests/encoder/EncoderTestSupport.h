#pragma once

#include "TempDir.h"

#include <QByteArray>

// A 16-bit stereo WAV file of a 440 Hz tone.
QByteArray sineWav(int frames, int sampleRate = 44100);
// The number of sample frames in a 16-bit stereo WAV file's data chunk; -1 when there is none.
qint64 wavFrames(const QByteArray& wav);

// A stand-in encoder in `programDir` that appends its arguments to `log` as one line, takes `seconds`
// and then writes "finished" into its output file (its last argument).
void writeSlowEncoder(const TempDir& programDir, const QString& log, int seconds);

// What the progress window showed while the encoder ran.
struct ProgressSeen {
    QString caption;
    QString message;
};

// The progress window being shown, if any.
class TFormProgress;
TFormProgress* shownProgressWindow();

// A program folder for one test, with or without a link to the system's lame; points
// programFolder() at itself until the test ends.
class ProgramFolderForTest {
public:
    enum class Encoder { Lame, None };
    explicit ProgramFolderForTest(Encoder encoder);
    ~ProgramFolderForTest();

    TempDir dir;
};
