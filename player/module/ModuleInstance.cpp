#include "ModuleInstance.h"

ModuleInstance::~ModuleInstance()
{
    close();
}

bool ModuleInstance::refuse(es::ErrorCode code)
{
    error = code;
    return false;
}

bool ModuleInstance::setInputMode(std::int32_t mode)
{
    if (mode != es::InputFile && mode != es::InputCallback)
        return refuse(es::IncorrectMode);
    inputMode = mode;
    return true;
}

bool ModuleInstance::setOutputMode(std::int32_t mode)
{
    if (mode < es::OutputLive || mode > es::OutputCallback)
        return refuse(es::IncorrectMode);
    outputMode = mode;
    return true;
}

bool ModuleInstance::setInputName(const char* name)
{
    inputName = name ? name : "";
    return true;
}

bool ModuleInstance::setOutputName(const char* name)
{
    outputName = name ? name : "";
    return true;
}

bool ModuleInstance::setOutputDevice(const char* device)
{
    outputDevice = device ? device : "";
    return true;
}

bool ModuleInstance::setDevNum(std::int32_t value)
{
    if (value < -1)
        return refuse(es::IncorrectMode);
    devNum = value;
    return true;
}

bool ModuleInstance::setBuffers(std::int32_t count, std::int32_t size)
{
    if (count < 1 || count > 256 || size < 1024 || size > (1 << 22))
        return refuse(es::NoResources);
    settings.buffersCount = count;
    settings.bufferSize = size;
    return true;
}

bool ModuleInstance::setPriority(std::int32_t priority)
{
    settings.priority = priority;
    return true;
}

bool ModuleInstance::setLimits(std::int32_t startMs, std::int32_t endMs)
{
    if (startMs < 0 || endMs < 0)
        return refuse(es::IncorrectMode);
    settings.startMs = startMs;
    settings.endMs = endMs;
    return true;
}

bool ModuleInstance::open()
{
    if (state != State::Closed)
        return refuse(es::IncorrectMode);
    const es::ErrorCode result =
        inputMode == es::InputFile ? input.openFile(inputName) : input.openCallbacks(inputCallbacks);
    if (result != es::NoError)
        return refuse(result);
    state = State::Opened;
    return true;
}

bool ModuleInstance::initStream()
{
    if (state != State::Opened)
        return refuse(es::IncorrectMode);
    es::ErrorCode result = es::NoError;
    switch (outputMode) {
    case es::OutputFile:
        result = output.openFile(outputName, input.rate(), input.channels());
        break;
    case es::OutputCallback:
        result = output.openCallbacks(outputCallbacks, input.rate(), input.channels());
        break;
    default:
        result = output.openLive(devNum, outputDevice, input.rate(), input.channels());
        break;
    }
    if (result != es::NoError)
        return refuse(result);
    state = State::Ready;
    return true;
}

bool ModuleInstance::play()
{
    const std::int32_t mode = playerMode();
    if (mode != es::Ready && mode != es::Stopped)
        return refuse(es::IncorrectMode);
    if (outputMode == es::OutputCallback && !outputCallbacksWired)
        return refuse(es::CallbackMissing);
    // A run that played to its end is stopped first, so a refused seek leaves a consistent state.
    stop();
    if (!input.seekTo(settings.startMs))
        return refuse(es::InputFailure);
    playback = std::make_unique<Playback>(input, output, settings, leftAndRight, error);
    state = State::Started;
    return true;
}

bool ModuleInstance::pause()
{
    if (playerMode() != es::Playing)
        return refuse(es::IncorrectMode);
    playback->pause();
    return true;
}

bool ModuleInstance::resume()
{
    if (playerMode() != es::Paused)
        return refuse(es::IncorrectMode);
    playback->resume();
    return true;
}

bool ModuleInstance::stop()
{
    if (state == State::Closed || state == State::Opened)
        return refuse(es::IncorrectMode);
    if (state == State::Started) {
        playback.reset();
        state = State::Stopped;
    }
    return true;
}

bool ModuleInstance::close()
{
    playback.reset();
    output.close();
    input.close();
    state = State::Closed;
    return true;
}

std::int32_t ModuleInstance::playerMode() const
{
    switch (state) {
    case State::Closed:
        return es::Closed;
    case State::Opened:
        return es::Opened;
    case State::Ready:
        return es::Ready;
    case State::Stopped:
        return es::Stopped;
    case State::Started:
        break;
    }
    if (playback->finished())
        return es::Stopped;
    return playback->paused() ? es::Paused : es::Playing;
}

bool ModuleInstance::hasStream()
{
    return state == State::Closed ? refuse(es::IncorrectMode) : true;
}

bool ModuleInstance::position(std::int32_t& milliseconds)
{
    if (!hasStream())
        return false;
    milliseconds = playback ? playback->positionMs() : settings.startMs;
    return true;
}

bool ModuleInstance::length(std::int32_t& milliseconds)
{
    if (!hasStream())
        return false;
    milliseconds = input.lengthMilliseconds();
    return true;
}

bool ModuleInstance::format(std::int32_t& sampleRate, std::int32_t& channels, std::int32_t& bits)
{
    if (!hasStream())
        return false;
    sampleRate = static_cast<std::int32_t>(input.rate());
    channels = input.channels();
    bits = 16;
    return true;
}

bool ModuleInstance::stream(std::int32_t& bitrate, std::int32_t& layer)
{
    if (!hasStream())
        return false;
    bitrate = input.bitrate();
    layer = input.layer();
    return true;
}
