// Built three times: as it is, without ESEQ (FAKE_WITHOUT_ESEQ), and with an ESInitModule that
// answers 0 (FAKE_INIT_FAILS).

#include "FakeModule.h"

#include <cstring>

namespace {

FakeModuleState state;

template <typename... Args>
es::Bool record(const char* name, Args... args)
{
    std::string call = name;
    ((call += ' ', call += std::to_string(args)), ...);
    state.calls.push_back(call);
    return state.refused.count(name) ? 0 : 1;
}

es::Bool text(const char* name, const std::string& value, char* buffer, std::int32_t* length)
{
    const es::Bool answer = record(name, buffer ? *length : -1);
    if (!buffer) {
        *length = static_cast<std::int32_t>(value.size());
        return 1;
    }
    if (answer)
        std::memcpy(buffer, value.c_str(), value.size() + 1);
    return answer;
}

}  // namespace

FakeModuleState* FakeModuleControl()
{
    return &state;
}

es::Handle ESInitModule()
{
    record("ESInitModule");
#ifdef FAKE_INIT_FAILS
    return 0;
#else
    return fakeInstance;
#endif
}

es::Bool ESDeInitModule(es::Handle Inst) { return record("ESDeInitModule", Inst); }
es::Bool ESOpen(es::Handle Inst) { return record("ESOpen", Inst); }
es::Bool ESClose(es::Handle Inst) { return record("ESClose", Inst); }
es::Bool ESPlay(es::Handle Inst) { return record("ESPlay", Inst); }
es::Bool ESCanPause(es::Handle Inst, es::Bool*) { return record("ESCanPause", Inst); }
es::Bool ESPause(es::Handle Inst) { return record("ESPause", Inst); }
es::Bool ESResume(es::Handle Inst) { return record("ESResume", Inst); }
es::Bool ESStop(es::Handle Inst) { return record("ESStop", Inst); }
es::Bool ESCanSetPos(es::Handle Inst, es::Bool*) { return record("ESCanSetPos", Inst); }
es::Bool ESGetPos(es::Handle Inst, std::int32_t*) { return record("ESGetPos", Inst); }
es::Bool ESSetPos(es::Handle Inst, std::int32_t Pos) { return record("ESSetPos", Inst, Pos); }
es::Bool ESGetAbout(char* Buffer, std::int32_t* Length) { return text("ESGetAbout", state.about, Buffer, Length); }
es::Bool ESGetName(char* Buffer, std::int32_t* Length) { return text("ESGetName", state.name, Buffer, Length); }
es::Bool ESGetExts(char* Buffer, std::int32_t* Length) { return text("ESGetExts", state.extensions, Buffer, Length); }
es::Bool ESGetSize(es::Handle Inst, std::int32_t*) { return record("ESGetSize", Inst); }
es::Bool ESSetInputMode(es::Handle Inst, std::int32_t Mode) { return record("ESSetInputMode", Inst, Mode); }
es::Bool ESSetOutputMode(es::Handle Inst, std::int32_t Mode) { return record("ESSetOutputMode", Inst, Mode); }
es::Bool ESSetOutputDev(es::Handle Inst, const char*) { return record("ESSetOutputDev", Inst); }
es::Bool ESSetBuffers(es::Handle Inst, std::int32_t Count, std::int32_t Size)
{
    return record("ESSetBuffers", Inst, Count, Size);
}
es::Bool ESSetPriority(es::Handle Inst, std::int32_t Priority) { return record("ESSetPriority", Inst, Priority); }
es::Bool ESSetLimits(es::Handle Inst, std::int32_t Start, std::int32_t End)
{
    return record("ESSetLimits", Inst, Start, End);
}
es::Bool ESSetVolume(es::Handle Inst, std::uint32_t Volume) { return record("ESSetVolume", Inst, Volume); }
es::Bool ESInitStream(es::Handle Inst) { return record("ESInitStream", Inst); }
es::Bool ESSetDevNum(es::Handle Inst, std::int32_t DevNum) { return record("ESSetDevNum", Inst, DevNum); }
es::Bool ESSetWindow(es::Handle Inst, es::Window) { return record("ESSetWindow", Inst); }
es::Bool ESUseOutCB(es::Handle Inst, std::int32_t Use) { return record("ESUseOutCB", Inst, Use); }
es::Bool ESUseEQ(es::Handle Inst, es::Bool Use) { return record("ESUseEQ", Inst, int(Use)); }
es::Bool ESGetInfo1(es::Handle Inst, std::int32_t*, std::int32_t*, std::int32_t*) { return record("ESGetInfo1", Inst); }
es::Bool ESGetInfo2(es::Handle Inst, std::int32_t*, std::int32_t*) { return record("ESGetInfo2", Inst); }
#ifndef FAKE_WITHOUT_ESEQ
es::Bool ESEQ(es::Handle Inst, std::int32_t Band, std::int32_t Gain) { return record("ESEQ", Inst, Band, Gain); }
#endif

es::Bool ESSetInputName(es::Handle Inst, const char* Name)
{
    state.calls.push_back("ESSetInputName " + std::to_string(Inst) + " " + Name);
    return state.refused.count("ESSetInputName") ? 0 : 1;
}

es::Bool ESSetOutputName(es::Handle Inst, const char* Name)
{
    state.calls.push_back("ESSetOutputName " + std::to_string(Inst) + " " + Name);
    return state.refused.count("ESSetOutputName") ? 0 : 1;
}

std::int32_t ESGetPlayerMode(es::Handle Inst)
{
    record("ESGetPlayerMode", Inst);
    return state.playerMode;
}

std::int32_t ESLastError(es::Handle Inst)
{
    record("ESLastError", Inst);
    return state.lastError;
}

std::int32_t ESGetVersion()
{
    record("ESGetVersion");
    return 0x0203;
}

es::Bool ESSetOutCB(es::Handle Inst, ESOutputProc OutputProc, ESOutputActionProc ActionProc, void* UserData)
{
    state.outputProc = OutputProc;
    state.actionProc = ActionProc;
    state.outputUserData = UserData;
    return record("ESSetOutCB", Inst);
}

es::Bool ESSetInCB(es::Handle Inst, ESInputOpenProc OpenProc, ESInputCloseProc CloseProc,
                   ESInputGetSizeProc GetSizeProc, ESInputSeekProc SeekProc, ESInputReadProc ReadProc,
                   void* UserData)
{
    state.openProc = OpenProc;
    state.closeProc = CloseProc;
    state.getSizeProc = GetSizeProc;
    state.seekProc = SeekProc;
    state.readProc = ReadProc;
    state.inputUserData = UserData;
    return record("ESSetInCB", Inst);
}

es::Bool ESGetVolume(es::Handle Inst, std::uint32_t* Volume)
{
    *Volume = state.volume;
    return record("ESGetVolume", Inst);
}

es::Bool ESCanSetVolume(es::Handle Inst, es::Bool* CanSet)
{
    *CanSet = state.canSetVolume ? 1 : 0;
    return record("ESCanSetVolume", Inst);
}

es::Bool ESHasEQ(es::Handle Inst, es::Bool* Has)
{
    *Has = state.hasEqualizer ? 1 : 0;
    return record("ESHasEQ", Inst);
}
