#pragma once

// One run of playback: a decoder thread fills at most buffersCount buffers of bufferSize bytes,
// and an output thread hands them to the output, pausing and stopping on request.

#include "MpegInput.h"
#include "SoundOutput.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct PlaybackSettings {
    int buffersCount = 8;
    int bufferSize = 16384;
    std::int32_t startMs = 0;
    std::int32_t endMs = 0;  // 0 plays to the end
    int priority = 0;
};

class Playback {
public:
    // Starts both threads. Failures on them land in lastError; volume is read for every buffer.
    Playback(MpegInput& input, SoundOutput& output, const PlaybackSettings& settings,
             const std::atomic<std::uint32_t>& volume, std::atomic<std::int32_t>& lastError);
    // Stops both threads and waits for them.
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    void pause();
    void resume();
    bool paused() const;
    // True once the last sample has been handed out or playback failed.
    bool finished() const { return done; }
    std::int32_t positionMs() const;

private:
    void decode();
    void deliver();
    void applyVolume(std::vector<unsigned char>& samples) const;

    MpegInput& input;
    SoundOutput& output;
    const PlaybackSettings settings;
    const std::atomic<std::uint32_t>& volume;
    std::atomic<std::int32_t>& lastError;

    mutable std::mutex lock;
    std::condition_variable changed;
    std::deque<std::vector<unsigned char>> queue;
    bool decoded = false;
    bool stopping = false;
    bool isPaused = false;
    std::atomic<bool> done{false};
    std::atomic<std::int64_t> bytesPlayed{0};
    std::thread decoder;
    std::thread player;
};
