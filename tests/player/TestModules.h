#pragma once

// What the player tests share: the module builds, the scripted module's controls, and test audio.

#include "ElSounds.h"
#include "FakeModule.h"

#include <QByteArray>
#include <QString>

class TempDir;

// The module the project builds, and the scripted ones; each is "dodid.esp" in its folder.
inline QString playerModuleFolder() { return QStringLiteral(PLAYER_MODULE_FOLDER); }
inline QString fakeModuleFolder() { return QStringLiteral(FAKE_MODULE_FOLDER); }
inline QString fakeWithoutEseqFolder() { return QStringLiteral(FAKE_WITHOUT_ESEQ_FOLDER); }
inline QString fakeInitFailsFolder() { return QStringLiteral(FAKE_INIT_FAILS_FOLDER); }
inline QString moduleIn(const QString& folder) { return folder + QStringLiteral("dodid.esp"); }

// Holds the scripted module loaded for as long as the test runs, starting from a fresh script.
class FakeModule {
public:
    FakeModule();
    ~FakeModule();
    FakeModule(const FakeModule&) = delete;
    FakeModule& operator=(const FakeModule&) = delete;
    FakeModuleState& state() { return *control; }

private:
    void* library;
    FakeModuleState* control;
};

// A 16-bit WAV file holding frames sample frames of a sine tone.
QByteArray makeWav(int frames, int rate, int channels);
// Encodes a WAV with lame into dir; the MP3 file's path.
QString encodeWithLame(const TempDir& dir, const QString& name, const QByteArray& wav);

struct WavData {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    qint64 declaredBytes = -1;  // the data chunk's size field
    QByteArray samples;         // the bytes actually present after the data chunk's header
};
// Reads the format and the sample bytes of a WAV file; channels stays 0 when it is not one.
WavData readWav(const QByteArray& file);

// The code of the TElSException that action raises; -1 when it raises none.
template <typename Action>
int raisedCode(Action action)
{
    try {
        action();
    } catch (const TElSException& e) {
        return e.ErrorCode;
    }
    return -1;
}
