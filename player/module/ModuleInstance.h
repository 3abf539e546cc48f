#pragma once

// One instance of the module: its settings, its input and output, and the state of playback.
// Every method but the getters of state is called on the program's user-interface thread.
// A refused request answers false and leaves its code in lastError().

#include "ModuleAbi.h"
#include "MpegInput.h"
#include "Playback.h"
#include "SoundOutput.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class ModuleInstance {
public:
    ~ModuleInstance();

    bool setInputMode(std::int32_t mode);
    bool setOutputMode(std::int32_t mode);
    bool setInputName(const char* name);
    bool setOutputName(const char* name);
    bool setOutputDevice(const char* device);
    bool setDevNum(std::int32_t devNum);
    bool setBuffers(std::int32_t count, std::int32_t size);
    bool setPriority(std::int32_t priority);
    bool setLimits(std::int32_t startMs, std::int32_t endMs);
    void setOutputCallbacks(const OutputCallbacks& callbacks) { outputCallbacks = callbacks; }
    void setInputCallbacks(const InputCallbacks& callbacks) { inputCallbacks = callbacks; }
    void useOutputCallbacks(bool use) { outputCallbacksWired = use; }

    bool open();
    bool initStream();
    bool play();
    bool pause();
    bool resume();
    bool stop();
    bool close();

    // Answers false with the given code.
    bool refuse(es::ErrorCode code);
    std::int32_t playerMode() const;
    std::int32_t lastError() const { return error; }
    bool position(std::int32_t& milliseconds);
    bool length(std::int32_t& milliseconds);
    bool format(std::int32_t& sampleRate, std::int32_t& channels, std::int32_t& bits);
    bool stream(std::int32_t& bitrate, std::int32_t& layer);
    std::uint32_t volume() const { return leftAndRight; }
    // The value comes with the left channel in its high half (see ModuleAbi.h).
    void setVolume(std::uint32_t value) { leftAndRight = (value >> 16) | ((value & 0xFFFF) << 16); }

private:
    enum class State { Closed, Opened, Ready, Stopped, Started };

    bool hasStream();

    std::int32_t inputMode = es::InputFile;
    std::int32_t outputMode = es::OutputLive;
    std::string inputName;
    std::string outputName;
    std::string outputDevice;
    std::int32_t devNum = -1;
    PlaybackSettings settings;
    OutputCallbacks outputCallbacks;
    InputCallbacks inputCallbacks;
    bool outputCallbacksWired = false;

    State state = State::Closed;
    std::atomic<std::int32_t> error{es::NoError};
    std::atomic<std::uint32_t> leftAndRight{0xFFFFFFFFu};
    MpegInput input;
    SoundOutput output;
    std::unique_ptr<Playback> playback;
};
