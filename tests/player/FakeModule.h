#pragma once

// A scripted player module for the host's tests: it records every call with its arguments and
// answers as the test says. The test reaches it through FakeModuleControl in the same library.

#include "ModuleAbi.h"

#include <set>
#include <string>
#include <vector>

struct FakeModuleState {
    std::vector<std::string> calls;   // "ESSetBuffers 7 8 16384"
    std::set<std::string> refused;    // entry points answering false
    std::int32_t lastError = 0;
    std::int32_t playerMode = 0;
    std::string name = "Fake module";
    std::string about = "About the fake";
    std::string extensions = "*.mp3";
    std::uint32_t volume = 0;
    bool canSetVolume = true;
    bool hasEqualizer = false;
    ESOutputProc outputProc = nullptr;
    ESOutputActionProc actionProc = nullptr;
    void* outputUserData = nullptr;
    ESInputOpenProc openProc = nullptr;
    ESInputCloseProc closeProc = nullptr;
    ESInputGetSizeProc getSizeProc = nullptr;
    ESInputSeekProc seekProc = nullptr;
    ESInputReadProc readProc = nullptr;
    void* inputUserData = nullptr;
};

constexpr es::Handle fakeInstance = 7;

extern "C" ES_EXPORT FakeModuleState* FakeModuleControl();
