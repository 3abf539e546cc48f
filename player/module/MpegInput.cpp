#include "MpegInput.h"

#include <mpg123.h>

#include <algorithm>
#include <limits>

MpegInput::~MpegInput()
{
    close();
}

es::ErrorCode MpegInput::prepare()
{
    close();
    int error = MPG123_OK;
    handle = mpg123_new(nullptr, &error);
    if (!handle)
        return error == MPG123_OUT_OF_MEM ? es::OutOfMemory : es::NoResources;
    // Gapless decoding drops the encoder's delay and padding, so a file plays exactly what was encoded.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return es::NoError;
}

es::ErrorCode MpegInput::openFile(const std::string& name)
{
    if (const es::ErrorCode error = prepare())
        return error;
    if (mpg123_open(handle, name.c_str()) != MPG123_OK) {
        close();
        return es::InputFailure;
    }
    return finishOpening();
}

es::ErrorCode MpegInput::openCallbacks(const InputCallbacks& given)
{
    if (!given.open || !given.close || !given.getSize || !given.seek || !given.read)
        return es::CallbackMissing;
    if (const es::ErrorCode error = prepare())
        return error;
    callbacks = given;
    es::Bool canSeek = 0;
    callbackData = 0;
    if (!callbacks.open(callbacks.userData, &callbackData, &canSeek)) {
        close();
        return es::InputFailure;
    }
    callbackOpen = true;
    callbackCanSeek = canSeek != 0;
    if (mpg123_replace_reader_handle(handle, readThrough, seekThrough, nullptr) != MPG123_OK
        || mpg123_open_handle(handle, this) != MPG123_OK) {
        close();
        return es::InputFailure;
    }
    std::int32_t size = 0;
    if (callbacks.getSize(callbacks.userData, callbackData, &size) && size > 0)
        mpg123_set_filesize(handle, size);
    return finishOpening();
}

es::ErrorCode MpegInput::finishOpening()
{
    int encoding = 0;
    if (mpg123_getformat(handle, &sampleRate, &channelCount, &encoding) != MPG123_OK || sampleRate <= 0) {
        close();
        return es::InputFailure;
    }
    const off_t samples = mpg123_length(handle);
    length = samples > 0 ? static_cast<std::int32_t>(std::min<off_t>(samples * 1000 / sampleRate,
                                                                      std::numeric_limits<std::int32_t>::max()))
                         : 0;
    mpg123_frameinfo info{};
    if (mpg123_info(handle, &info) == MPG123_OK) {
        kbps = info.bitrate;
        mpegLayer = info.layer;
    }
    return es::NoError;
}

void MpegInput::close()
{
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
        handle = nullptr;
    }
    if (callbackOpen) {
        callbacks.close(callbacks.userData, callbackData);
        callbackOpen = false;
    }
    sampleRate = 0;
    channelCount = 0;
    length = 0;
    kbps = 0;
    mpegLayer = 0;
}

MpegInput::Read MpegInput::read(unsigned char* buffer, std::size_t size, std::size_t& done)
{
    done = 0;
    while (done < size) {
        std::size_t got = 0;
        const int result = mpg123_read(handle, buffer + done, size - done, &got);
        done += got;
        if (result == MPG123_DONE)
            return done > 0 ? Read::Data : Read::End;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            return Read::Failed;
    }
    return Read::Data;
}

bool MpegInput::seekTo(std::int32_t milliseconds)
{
    const off_t target = static_cast<off_t>(milliseconds) * sampleRate / 1000;
    return mpg123_tell(handle) == target || mpg123_seek(handle, target, SEEK_SET) >= 0;
}

ssize_t MpegInput::readThrough(void* self, void* buffer, std::size_t size)
{
    auto& input = *static_cast<MpegInput*>(self);
    const auto wanted =
        static_cast<std::int32_t>(std::min<std::size_t>(size, std::numeric_limits<std::int32_t>::max()));
    std::int32_t read = 0;
    if (!input.callbacks.read(input.callbacks.userData, input.callbackData, buffer, wanted, &read) || read < 0
        || read > wanted)
        return -1;
    return read;
}

off_t MpegInput::seekThrough(void* self, off_t offset, int whence)
{
    auto& input = *static_cast<MpegInput*>(self);
    if (!input.callbackCanSeek || offset < std::numeric_limits<std::int32_t>::min()
        || offset > std::numeric_limits<std::int32_t>::max())
        return -1;
    const std::int32_t origin = whence == SEEK_CUR ? es::SeekFromCurrent
                              : whence == SEEK_END ? es::SeekFromEnd
                                                   : es::SeekFromStart;
    auto position = static_cast<std::int32_t>(offset);
    if (!input.callbacks.seek(input.callbacks.userData, input.callbackData, &position, origin))
        return -1;
    return position;
}
