#pragma once

// The decoder side of the module: an MPEG audio stream read from a file or through the program's
// input callbacks, decoded by libmpg123 to 16-bit signed samples in the machine's byte order.

#include "ModuleAbi.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

struct mpg123_handle_struct;

struct InputCallbacks {
    ESInputOpenProc open = nullptr;
    ESInputCloseProc close = nullptr;
    ESInputGetSizeProc getSize = nullptr;
    ESInputSeekProc seek = nullptr;
    ESInputReadProc read = nullptr;
    void* userData = nullptr;
};

class MpegInput {
public:
    MpegInput() = default;
    ~MpegInput();
    MpegInput(const MpegInput&) = delete;
    MpegInput& operator=(const MpegInput&) = delete;

    es::ErrorCode openFile(const std::string& name);
    es::ErrorCode openCallbacks(const InputCallbacks& callbacks);
    void close();

    enum class Read { Data, End, Failed };
    // Fills buffer as far as the stream allows; done receives the bytes written.
    Read read(unsigned char* buffer, std::size_t size, std::size_t& done);
    bool seekTo(std::int32_t milliseconds);

    long rate() const { return sampleRate; }
    int channels() const { return channelCount; }
    int bytesPerFrame() const { return channelCount * 2; }
    std::int32_t lengthMilliseconds() const { return length; }
    std::int32_t bitrate() const { return kbps; }
    std::int32_t layer() const { return mpegLayer; }

private:
    es::ErrorCode prepare();
    es::ErrorCode finishOpening();
    static ssize_t readThrough(void* self, void* buffer, std::size_t size);
    static off_t seekThrough(void* self, off_t offset, int whence);

    mpg123_handle_struct* handle = nullptr;
    InputCallbacks callbacks;
    std::int32_t callbackData = 0;
    bool callbackCanSeek = false;
    bool callbackOpen = false;
    long sampleRate = 0;
    int channelCount = 0;
    std::int32_t length = 0;
    std::int32_t kbps = 0;
    std::int32_t mpegLayer = 0;
};
