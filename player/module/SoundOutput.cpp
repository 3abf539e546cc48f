#include "SoundOutput.h"

#include <ao/ao.h>

#include <cstdlib>
#include <cstring>

namespace {

ao_sample_format formatOf(long rate, int channels)
{
    ao_sample_format format;
    std::memset(&format, 0, sizeof format);
    format.bits = 16;
    format.rate = static_cast<int>(rate);
    format.channels = channels;
    format.byte_format = AO_FMT_NATIVE;
    return format;
}

}  // namespace

SoundOutput::~SoundOutput()
{
    close();
}

int SoundOutput::liveDriver(int devNum) const
{
    const char* forced = std::getenv("CORVANE_AO_DRIVER");
    if (forced && *forced)
        return ao_driver_id(forced);
    if (devNum < 0)
        return ao_default_driver_id();
    int count = 0;
    ao_info** drivers = ao_driver_info_list(&count);
    for (int i = 0; i < count; ++i) {
        if (drivers[i]->type == AO_TYPE_LIVE && devNum-- == 0)
            return ao_driver_id(drivers[i]->short_name);
    }
    return -1;
}

es::ErrorCode SoundOutput::openLive(int devNum, const std::string& deviceName, long rate, int channels)
{
    close();
    ao_sample_format format = formatOf(rate, channels);
    ao_option* options = nullptr;
    if (!deviceName.empty())
        ao_append_option(&options, "dev", deviceName.c_str());
    int driver = liveDriver(devNum);
    if (driver >= 0)
        device = ao_open_live(driver, &format, options);
    ao_free_options(options);
    // Without a sound device the preview still runs, silently and in real time.
    const int nullDriver = ao_driver_id("null");
    if (!device) {
        driver = nullDriver;
        device = ao_open_live(nullDriver, &format, nullptr);
    }
    if (!device)
        return es::OutputFailure;
    paced = driver == nullDriver;
    sampleRate = rate;
    channelCount = channels;
    return es::NoError;
}

es::ErrorCode SoundOutput::openFile(const std::string& name, long rate, int channels)
{
    close();
    if (name.empty())
        return es::OutputFailure;
    ao_sample_format format = formatOf(rate, channels);
    device = ao_open_file(ao_driver_id("wav"), name.c_str(), 1, &format, nullptr);
    if (!device)
        return es::OutputFailure;
    sampleRate = rate;
    channelCount = channels;
    return es::NoError;
}

es::ErrorCode SoundOutput::openCallbacks(const OutputCallbacks& given, long rate, int channels)
{
    close();
    if (!given.output || !given.action)
        return es::CallbackMissing;
    callbacks = given;
    toCallbacks = true;
    sampleRate = rate;
    channelCount = channels;
    return es::NoError;
}

void SoundOutput::close()
{
    if (device) {
        ao_close(device);
        device = nullptr;
    }
    toCallbacks = false;
    paced = false;
}

bool SoundOutput::begin()
{
    return !toCallbacks || callbacks.action(1, callbacks.userData);
}

void SoundOutput::end()
{
    if (toCallbacks)
        callbacks.action(0, callbacks.userData);
}

bool SoundOutput::play(unsigned char* samples, std::size_t size)
{
    if (toCallbacks)
        return callbacks.output(samples, 16, channelCount, static_cast<std::int32_t>(sampleRate),
                                static_cast<std::int32_t>(size), callbacks.userData);
    return device && ao_play(device, reinterpret_cast<char*>(samples), static_cast<uint_32>(size)) != 0;
}
