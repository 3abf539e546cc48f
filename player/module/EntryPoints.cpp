// The module's exported entry points: each finds its instance by handle and forwards.

#include "ModuleAbi.h"
#include "ModuleInstance.h"

#include <ao/ao.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

const char moduleName[] = "Corvane MPEG audio player";
const char moduleAbout[] = "Plays MPEG audio Layers I, II and III: decoded by libmpg123, played by libao.";
const char moduleExtensions[] = "*.mp3;*.mp2;*.mp1";
constexpr std::int32_t moduleVersion = 0x00010000;

std::mutex tableLock;
std::map<es::Handle, std::unique_ptr<ModuleInstance>> instances;
es::Handle lastHandle = 0;

ModuleInstance* find(es::Handle handle)
{
    std::lock_guard guard(tableLock);
    const auto found = instances.find(handle);
    return found == instances.end() ? nullptr : found->second.get();
}

// Calls what on the instance, or answers false for a handle that names none. Nothing is thrown
// back into the program: a failure to allocate becomes the module's own code.
template <typename What>
es::Bool with(es::Handle handle, What what)
{
    ModuleInstance* instance = find(handle);
    if (!instance)
        return 0;
    try {
        return what(*instance) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return instance->refuse(es::OutOfMemory);
    } catch (...) {
        return instance->refuse(es::NoResources);
    }
}

// Writes a yes or no through the module's answer pointer.
bool answer(es::Bool* to, bool value)
{
    if (!to)
        return false;
    *to = value ? 1 : 0;
    return true;
}

es::Bool answerText(const char* text, char* buffer, std::int32_t* length)
{
    if (!length)
        return 0;
    const auto size = static_cast<std::int32_t>(std::strlen(text));
    if (!buffer) {
        *length = size;
        return 1;
    }
    if (*length < 1)
        return 0;
    const std::int32_t copied = std::min(size, *length - 1);
    std::memcpy(buffer, text, static_cast<std::size_t>(copied));
    buffer[copied] = '\0';
    return 1;
}

}  // namespace

es::Handle ESInitModule()
{
    try {
        auto instance = std::make_unique<ModuleInstance>();
        std::lock_guard guard(tableLock);
        // Handles are never reused, so a stale one cannot reach a newer instance.
        if (lastHandle == std::numeric_limits<es::Handle>::max())
            return 0;
        // libao is set up once for all instances and shut down with the last one.
        if (instances.empty())
            ao_initialize();
        instances.emplace(lastHandle + 1, std::move(instance));
        return ++lastHandle;
    } catch (...) {
        return 0;
    }
}

es::Bool ESDeInitModule(es::Handle Inst)
{
    std::unique_ptr<ModuleInstance> instance;
    {
        std::lock_guard guard(tableLock);
        const auto found = instances.find(Inst);
        if (found == instances.end())
            return 0;
        instance = std::move(found->second);
        instances.erase(found);
    }
    instance.reset();
    std::lock_guard guard(tableLock);
    if (instances.empty())
        ao_shutdown();
    return 1;
}

es::Bool ESOpen(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.open(); });
}

es::Bool ESClose(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.close(); });
}

es::Bool ESInitStream(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.initStream(); });
}

es::Bool ESPlay(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.play(); });
}

es::Bool ESPause(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.pause(); });
}

es::Bool ESResume(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.resume(); });
}

es::Bool ESStop(es::Handle Inst)
{
    return with(Inst, [](ModuleInstance& i) { return i.stop(); });
}

es::Bool ESCanPause(es::Handle Inst, es::Bool* CanPause)
{
    return with(Inst, [&](ModuleInstance&) { return answer(CanPause, true); });
}

// Playback runs from its start limit to its end limit; it does not jump while it runs.
es::Bool ESCanSetPos(es::Handle Inst, es::Bool* CanSetPos)
{
    return with(Inst, [&](ModuleInstance&) { return answer(CanSetPos, false); });
}

es::Bool ESSetPos(es::Handle Inst, std::int32_t)
{
    return with(Inst, [](ModuleInstance& i) { return i.refuse(es::NotImplemented); });
}

es::Bool ESGetPos(es::Handle Inst, std::int32_t* Milliseconds)
{
    return with(Inst, [&](ModuleInstance& i) { return Milliseconds && i.position(*Milliseconds); });
}

es::Bool ESGetSize(es::Handle Inst, std::int32_t* Milliseconds)
{
    return with(Inst, [&](ModuleInstance& i) { return Milliseconds && i.length(*Milliseconds); });
}

es::Bool ESGetAbout(char* Buffer, std::int32_t* Length)
{
    return answerText(moduleAbout, Buffer, Length);
}

es::Bool ESGetName(char* Buffer, std::int32_t* Length)
{
    return answerText(moduleName, Buffer, Length);
}

es::Bool ESGetExts(char* Buffer, std::int32_t* Length)
{
    return answerText(moduleExtensions, Buffer, Length);
}

std::int32_t ESGetVersion()
{
    return moduleVersion;
}

es::Bool ESSetInputMode(es::Handle Inst, std::int32_t Mode)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setInputMode(Mode); });
}

es::Bool ESSetOutputMode(es::Handle Inst, std::int32_t Mode)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setOutputMode(Mode); });
}

es::Bool ESSetInputName(es::Handle Inst, const char* Name)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setInputName(Name); });
}

es::Bool ESSetOutputName(es::Handle Inst, const char* Name)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setOutputName(Name); });
}

es::Bool ESSetOutputDev(es::Handle Inst, const char* Device)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setOutputDevice(Device); });
}

es::Bool ESSetDevNum(es::Handle Inst, std::int32_t DevNum)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setDevNum(DevNum); });
}

std::int32_t ESGetPlayerMode(es::Handle Inst)
{
    const ModuleInstance* instance = find(Inst);
    return instance ? instance->playerMode() : es::Closed;
}

std::int32_t ESLastError(es::Handle Inst)
{
    const ModuleInstance* instance = find(Inst);
    return instance ? instance->lastError() : es::InvalidHandle;
}

es::Bool ESSetBuffers(es::Handle Inst, std::int32_t BuffersCount, std::int32_t BufferSize)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setBuffers(BuffersCount, BufferSize); });
}

es::Bool ESSetPriority(es::Handle Inst, std::int32_t Priority)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setPriority(Priority); });
}

es::Bool ESSetLimits(es::Handle Inst, std::int32_t StartPos, std::int32_t EndPos)
{
    return with(Inst, [&](ModuleInstance& i) { return i.setLimits(StartPos, EndPos); });
}

es::Bool ESSetOutCB(es::Handle Inst, ESOutputProc OutputProc, ESOutputActionProc ActionProc, void* UserData)
{
    return with(Inst, [&](ModuleInstance& i) {
        i.setOutputCallbacks({OutputProc, ActionProc, UserData});
        return true;
    });
}

es::Bool ESSetInCB(es::Handle Inst, ESInputOpenProc OpenProc, ESInputCloseProc CloseProc,
                   ESInputGetSizeProc GetSizeProc, ESInputSeekProc SeekProc, ESInputReadProc ReadProc,
                   void* UserData)
{
    return with(Inst, [&](ModuleInstance& i) {
        i.setInputCallbacks({OpenProc, CloseProc, GetSizeProc, SeekProc, ReadProc, UserData});
        return true;
    });
}

es::Bool ESUseOutCB(es::Handle Inst, std::int32_t Use)
{
    return with(Inst, [&](ModuleInstance& i) {
        i.useOutputCallbacks(Use != 0);
        return true;
    });
}

// The module keeps time and calls back on threads of its own, so it has no use for a window.
es::Bool ESSetWindow(es::Handle Inst, es::Window)
{
    return with(Inst, [](ModuleInstance&) { return true; });
}

es::Bool ESGetVolume(es::Handle Inst, std::uint32_t* Volume)
{
    return with(Inst, [&](ModuleInstance& i) { return Volume && (*Volume = i.volume(), true); });
}

es::Bool ESSetVolume(es::Handle Inst, std::uint32_t Volume)
{
    return with(Inst, [&](ModuleInstance& i) {
        i.setVolume(Volume);
        return true;
    });
}

es::Bool ESCanSetVolume(es::Handle Inst, es::Bool* CanSet)
{
    return with(Inst, [&](ModuleInstance&) { return answer(CanSet, true); });
}

es::Bool ESGetInfo1(es::Handle Inst, std::int32_t* SampleRate, std::int32_t* Channels, std::int32_t* Bits)
{
    return with(Inst, [&](ModuleInstance& i) {
        return SampleRate && Channels && Bits && i.format(*SampleRate, *Channels, *Bits);
    });
}

es::Bool ESGetInfo2(es::Handle Inst, std::int32_t* Bitrate, std::int32_t* Layer)
{
    return with(Inst, [&](ModuleInstance& i) { return Bitrate && Layer && i.stream(*Bitrate, *Layer); });
}

// There is no equalizer.
es::Bool ESHasEQ(es::Handle Inst, es::Bool* Has)
{
    return with(Inst, [&](ModuleInstance&) { return answer(Has, false); });
}

es::Bool ESUseEQ(es::Handle Inst, es::Bool)
{
    return with(Inst, [](ModuleInstance& i) { return i.refuse(es::NotImplemented); });
}

es::Bool ESEQ(es::Handle Inst, std::int32_t, std::int32_t)
{
    return with(Inst, [](ModuleInstance& i) { return i.refuse(es::NotImplemented); });
}
