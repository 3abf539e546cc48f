#pragma once

// Everything that passes between the program and a player module ("dodid.esp"): the exported
// entry points, the callbacks the program installs, the error codes and the player modes.
// The program binds the entry points by name at run time; a module defines them.

#include <cstdint>

namespace es {

using Bool = std::uint8_t;    // 0 false, anything else true
using Handle = std::int32_t;  // a module instance, 0 none
using Window = void*;         // the player's hidden window

enum ErrorCode : std::int32_t {
    NoError = 0,
    NotImplemented = 1,
    IncorrectMode = 2,
    InternalError = 3,
    InvalidHandle = 4,
    InputFailure = 5,
    OutputFailure = 6,
    OutOfMemory = 7,
    NoResources = 8,
    CallbackMissing = 9,
    LoadFailure = 10,
    NotInitialized = 11,
};

// Answers of ESGetPlayerMode. The program tests only Playing and Paused.
enum PlayerMode : std::int32_t {
    Closed = 0,
    Opened = 1,
    Ready = 2,     // output prepared, not yet started
    Stopped = 3,   // stopped, or played to the end
    Playing = 4,
    Paused = 5,
};

enum InputModes : std::int32_t { InputFile = 0, InputCallback = 1 };
enum OutputModes : std::int32_t { OutputLive = 0, OutputFile = 1, OutputDirectSound = 2, OutputCallback = 3 };

// Seek origins of the input seek callback.
enum SeekOrigin : std::int32_t { SeekFromStart = 0, SeekFromCurrent = 1, SeekFromEnd = 2 };

}  // namespace es

#define ES_EXPORT __attribute__((visibility("default")))

extern "C" {

// Output callbacks get the program's user data last, input callbacks first.
typedef es::Bool (*ESOutputProc)(void* SampleData, std::int32_t SBits, std::int32_t Channels,
                                 std::int32_t SampleRate, std::int32_t Size, void* UserData);
typedef es::Bool (*ESOutputActionProc)(es::Bool IsInit, void* UserData);
typedef es::Bool (*ESInputOpenProc)(void* UserData, std::int32_t* UserDataInt, es::Bool* CanSetPos);
typedef es::Bool (*ESInputCloseProc)(void* UserData, std::int32_t UserDataInt);
typedef es::Bool (*ESInputGetSizeProc)(void* UserData, std::int32_t UserDataInt, std::int32_t* Size);
typedef es::Bool (*ESInputSeekProc)(void* UserData, std::int32_t UserDataInt, std::int32_t* NewPos,
                                    std::int32_t SeekMode);
typedef es::Bool (*ESInputReadProc)(void* UserData, std::int32_t UserDataInt, void* Buffer,
                                    std::int32_t BytesToRead, std::int32_t* BytesRead);

// Texts (ESGetAbout, ESGetName, ESGetExts) come in two calls: with a null Buffer the module stores
// the text's length without the zero in *Length; then with a buffer of *Length bytes it copies the
// text, cut to fit and always zero-terminated.
// Volumes: ESGetVolume delivers the left channel in the low 16 bits and the right one in the high
// 16 bits; ESSetVolume takes them the other way round, so a value read and handed back with its
// halves swapped keeps the volume as it was. 0xFFFF is full volume.

ES_EXPORT es::Handle ESInitModule();
ES_EXPORT es::Bool ESDeInitModule(es::Handle Inst);
ES_EXPORT es::Bool ESOpen(es::Handle Inst);
ES_EXPORT es::Bool ESClose(es::Handle Inst);
ES_EXPORT es::Bool ESPlay(es::Handle Inst);
ES_EXPORT es::Bool ESCanPause(es::Handle Inst, es::Bool* CanPause);
ES_EXPORT es::Bool ESPause(es::Handle Inst);
ES_EXPORT es::Bool ESResume(es::Handle Inst);
ES_EXPORT es::Bool ESStop(es::Handle Inst);
ES_EXPORT es::Bool ESCanSetPos(es::Handle Inst, es::Bool* CanSetPos);
ES_EXPORT es::Bool ESGetPos(es::Handle Inst, std::int32_t* Milliseconds);
ES_EXPORT es::Bool ESSetPos(es::Handle Inst, std::int32_t Milliseconds);
ES_EXPORT es::Bool ESGetAbout(char* Buffer, std::int32_t* Length);
ES_EXPORT es::Bool ESGetName(char* Buffer, std::int32_t* Length);
ES_EXPORT es::Bool ESGetSize(es::Handle Inst, std::int32_t* Milliseconds);
ES_EXPORT es::Bool ESSetInputMode(es::Handle Inst, std::int32_t Mode);
ES_EXPORT es::Bool ESSetOutputMode(es::Handle Inst, std::int32_t Mode);
ES_EXPORT es::Bool ESSetInputName(es::Handle Inst, const char* Name);
ES_EXPORT es::Bool ESSetOutputName(es::Handle Inst, const char* Name);
ES_EXPORT es::Bool ESSetOutputDev(es::Handle Inst, const char* Device);
ES_EXPORT std::int32_t ESGetPlayerMode(es::Handle Inst);
ES_EXPORT std::int32_t ESLastError(es::Handle Inst);
ES_EXPORT std::int32_t ESGetVersion();
ES_EXPORT es::Bool ESSetBuffers(es::Handle Inst, std::int32_t BuffersCount, std::int32_t BufferSize);
ES_EXPORT es::Bool ESSetPriority(es::Handle Inst, std::int32_t Priority);
ES_EXPORT es::Bool ESSetLimits(es::Handle Inst, std::int32_t StartPos, std::int32_t EndPos);
ES_EXPORT es::Bool ESSetOutCB(es::Handle Inst, ESOutputProc OutputProc, ESOutputActionProc ActionProc,
                              void* UserData);
ES_EXPORT es::Bool ESGetVolume(es::Handle Inst, std::uint32_t* Volume);
ES_EXPORT es::Bool ESSetVolume(es::Handle Inst, std::uint32_t Volume);
ES_EXPORT es::Bool ESCanSetVolume(es::Handle Inst, es::Bool* CanSet);
ES_EXPORT es::Bool ESGetExts(char* Buffer, std::int32_t* Length);
ES_EXPORT es::Bool ESGetInfo1(es::Handle Inst, std::int32_t* SampleRate, std::int32_t* Channels,
                              std::int32_t* Bits);
ES_EXPORT es::Bool ESGetInfo2(es::Handle Inst, std::int32_t* Bitrate, std::int32_t* Layer);
ES_EXPORT es::Bool ESInitStream(es::Handle Inst);
ES_EXPORT es::Bool ESSetDevNum(es::Handle Inst, std::int32_t DevNum);
ES_EXPORT es::Bool ESSetInCB(es::Handle Inst, ESInputOpenProc OpenProc, ESInputCloseProc CloseProc,
                             ESInputGetSizeProc GetSizeProc, ESInputSeekProc SeekProc,
                             ESInputReadProc ReadProc, void* UserData);
ES_EXPORT es::Bool ESSetWindow(es::Handle Inst, es::Window Window);
ES_EXPORT es::Bool ESUseOutCB(es::Handle Inst, std::int32_t Use);
ES_EXPORT es::Bool ESUseEQ(es::Handle Inst, es::Bool Use);
ES_EXPORT es::Bool ESHasEQ(es::Handle Inst, es::Bool* Has);
ES_EXPORT es::Bool ESEQ(es::Handle Inst, std::int32_t Band, std::int32_t Gain);

}  // extern "C"
