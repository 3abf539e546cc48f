#pragma once

// Where decoded samples go: a live libao device (the null driver when none answers), a WAV file
// written by libao, or the program's output callbacks. Samples are 16-bit signed, interleaved.

#include "ModuleAbi.h"

#include <cstddef>
#include <string>

struct ao_device;

struct OutputCallbacks {
    ESOutputProc output = nullptr;
    ESOutputActionProc action = nullptr;
    void* userData = nullptr;
};

class SoundOutput {
public:
    SoundOutput() = default;
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // devNum -1 is the default live driver, n >= 0 the n-th live driver; device is the driver's own
    // device name ("" for its default). CORVANE_AO_DRIVER names a driver that overrides both.
    es::ErrorCode openLive(int devNum, const std::string& device, long rate, int channels);
    es::ErrorCode openFile(const std::string& name, long rate, int channels);
    es::ErrorCode openCallbacks(const OutputCallbacks& callbacks, long rate, int channels);
    void close();

    // Around the samples of one playback: tell the program's callbacks it starts and ends.
    bool begin();
    void end();
    bool play(unsigned char* samples, std::size_t size);

    // The null driver swallows samples at once; playback keeps time for it.
    bool needsPacing() const { return paced; }

private:
    int liveDriver(int devNum) const;

    ao_device* device = nullptr;
    OutputCallbacks callbacks;
    bool toCallbacks = false;
    bool paced = false;
    long sampleRate = 0;
    int channelCount = 0;
};
