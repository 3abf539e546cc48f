#pragma once

// The player host: loads a player module, binds its entry points, turns its refusals into
// TElSException, and keeps the player's settings while no module is loaded.

#include "ModuleAbi.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QEvent;
class TElPlayer;
class TElPlayerMan;

// A failure of the player or its module, with the module's one-byte code.
class TElSException : public std::exception {
public:
    explicit TElSException(std::uint8_t Code);
    const char* what() const noexcept override { return message; }

    std::uint8_t ErrorCode;

private:
    const char* message;
};

enum TElSInputMode : std::int32_t { imFile = 0, imCallback = 1 };
enum TElSOutputMode : std::int32_t { omMMSystem = 0, omFile = 1, omDirectSound = 2, omCallback = 3 };

using TElSOutputActionEvent = std::function<void(TElPlayer* Sender, bool& Success)>;
using TElSOutputEvent = std::function<void(TElPlayer* Sender, void* SampleData, int SBits, int Channels,
                                           int SampleRate, int Size, bool& Success)>;
using TInputOpenEvent = std::function<void(TElPlayer* Sender, int& UserData, bool& CanSetPos, bool& Success)>;
using TInputCloseEvent = std::function<void(TElPlayer* Sender, int UserData, bool& Success)>;
using TInputGetSizeEvent = std::function<void(TElPlayer* Sender, int UserData, int& Size, bool& Success)>;
using TInputSeekEvent =
    std::function<void(TElPlayer* Sender, int UserData, int& NewPos, int SeekMode, bool& Success)>;
using TInputReadEvent = std::function<void(TElPlayer* Sender, int UserData, void* Buffer, int BytesToRead,
                                           int& BytesRead, bool& Success)>;

// The collection of players owned by a TElPlayerMan.
class TElPlayers {
public:
    explicit TElPlayers(TElPlayerMan* Manager);
    ~TElPlayers();

    TElPlayer* Add();
    // Destroys the player and removes it from the collection.
    void Delete(TElPlayer* Item);
    void Clear();
    int Count() const { return static_cast<int>(items.size()); }
    TElPlayer* GetItems(int Index) const;
    // Copies Value's settings into the player at Index.
    void SetItems(int Index, const TElPlayer& Value);
    TElPlayerMan* Owner() const { return FManager; }

private:
    TElPlayerMan* FManager;
    std::vector<std::unique_ptr<TElPlayer>> items;
};

// The component a window places to own its players; the window's destruction destroys them.
class TElPlayerMan : public QObject {
public:
    explicit TElPlayerMan(QObject* AOwner = nullptr);
    ~TElPlayerMan() override;

    TElPlayers* Players() const { return players.get(); }
    void SetPlayers(const TElPlayers* Value);

private:
    std::unique_ptr<TElPlayers> players;
};

// One player bound to one instance of a module.
class TElPlayer {
public:
    explicit TElPlayer(TElPlayers* Collection);
    virtual ~TElPlayer();
    TElPlayer(const TElPlayer&) = delete;
    TElPlayer& operator=(const TElPlayer&) = delete;

    TElPlayers* Collection() const { return collection; }
    // Copies the settings and event handlers of Source through the setters.
    void Assign(const TElPlayer& Source);

    void LoadModule();
    void UnloadModule();

    void Open();
    void InitStream();
    void Play();
    void Pause();
    void Resume();
    void Stop();
    void Close();
    bool GetPaused() const { return Paused; }
    std::int32_t GetPlayerMode();
    std::uint16_t GetVolume();
    bool CanSetVolume(bool& CanSet);
    bool HasEqualizer();

    TElSInputMode InputMode() const { return FInputMode; }
    void SetInputMode(TElSInputMode Value);
    QString InputName() const { return FInputName; }
    void SetInputName(const QString& Value);
    TElSOutputMode OutputMode() const { return FOutputMode; }
    void SetOutputMode(TElSOutputMode Value);
    QString OutputName() const { return FOutputName; }
    void SetOutputName(const QString& Value);
    QString PathToDLL() const { return FPathToDLL; }
    void SetPathToDLL(const QString& Value) { FPathToDLL = Value; }
    QString ModuleName();
    QString About();
    int Version();
    int StartPos() const { return FStartPos; }
    void SetStartPos(int Value);
    int EndPos() const { return FEndPos; }
    void SetEndPos(int Value);
    int Priority() const { return FPriority; }
    void SetPriority(int Value);
    int BuffersCount() const { return FBuffersCount; }
    void SetBuffersCount(int Value);
    int BufferSize() const { return FBufferSize; }
    void SetBufferSize(int Value);
    QString Extensions();
    int OutputDevNum() const { return FOutputDevNum; }
    void SetOutputDevNum(int Value);
    bool Initialized() const { return FInitialized; }
    void SetInitialized(bool Value);
    bool UseEqualizer() const { return FUseEqualizer; }
    void SetUseEqualizer(bool Value);

    // The last code the module reported through ESLastError.
    int LastError() const { return FLastError; }
    // The handle given to the module: the address of the player's hidden window object.
    es::Window Window() const;

    TElSOutputActionEvent OnOutputInit;
    TElSOutputActionEvent OnOutputDone;
    TElSOutputEvent OnOutput;
    TInputOpenEvent OnInputOpen;
    TInputCloseEvent OnInputClose;
    TInputGetSizeEvent OnInputGetSize;
    TInputSeekEvent OnInputSeek;
    TInputReadEvent OnInputRead;

    // Messages of the hidden window; a player handles none of them.
    virtual bool WndProc(QEvent& Message);
    virtual void DoOutputInit(bool& Success);
    virtual void DoOutputDone(bool& Success);
    virtual void DoOutput(void* SampleData, int SBits, int Channels, int SampleRate, int Size, bool& Success);
    virtual void DoInputOpen(int& UserData, bool& CanSetPos, bool& Success);
    virtual void DoInputClose(int UserData, bool& Success);
    virtual void DoInputGetSize(int UserData, int& Size, bool& Success);
    virtual void DoInputSeek(int UserData, int& NewPos, int SeekMode, bool& Success);
    virtual void DoInputRead(int UserData, void* Buffer, int BytesToRead, int& BytesRead, bool& Success);

private:
    // Entry-point addresses; types follow the module's declarations.
    struct EntryPoints {
        decltype(&::ESInitModule) InitModule = nullptr;
        decltype(&::ESDeInitModule) DeInitModule = nullptr;
        decltype(&::ESOpen) Open = nullptr;
        decltype(&::ESClose) Close = nullptr;
        decltype(&::ESInitStream) InitStream = nullptr;
        decltype(&::ESPlay) Play = nullptr;
        decltype(&::ESPause) Pause = nullptr;
        decltype(&::ESResume) Resume = nullptr;
        decltype(&::ESStop) Stop = nullptr;
        decltype(&::ESGetPos) GetPos = nullptr;
        decltype(&::ESSetPos) SetPos = nullptr;
        decltype(&::ESGetAbout) GetAbout = nullptr;
        decltype(&::ESGetName) GetName = nullptr;
        decltype(&::ESGetVersion) GetVersion = nullptr;
        decltype(&::ESSetInputMode) SetInputMode = nullptr;
        decltype(&::ESSetOutputMode) SetOutputMode = nullptr;
        decltype(&::ESSetInputName) SetInputName = nullptr;
        decltype(&::ESSetOutputName) SetOutputName = nullptr;
        decltype(&::ESSetOutputDev) SetOutputDev = nullptr;
        decltype(&::ESGetPlayerMode) GetPlayerMode = nullptr;
        decltype(&::ESGetSize) GetSize = nullptr;
        decltype(&::ESLastError) LastError = nullptr;
        decltype(&::ESSetBuffers) SetBuffers = nullptr;
        decltype(&::ESSetPriority) SetPriority = nullptr;
        decltype(&::ESSetLimits) SetLimits = nullptr;
        decltype(&::ESSetOutCB) SetOutCB = nullptr;
        decltype(&::ESGetExts) GetExts = nullptr;
        decltype(&::ESGetInfo1) GetInfo1 = nullptr;
        decltype(&::ESGetInfo2) GetInfo2 = nullptr;
        decltype(&::ESGetVolume) GetVolume = nullptr;
        decltype(&::ESSetVolume) SetVolume = nullptr;
        decltype(&::ESCanSetVolume) CanSetVolume = nullptr;
        decltype(&::ESSetDevNum) SetDevNum = nullptr;
        decltype(&::ESSetInCB) SetInCB = nullptr;
        decltype(&::ESCanSetPos) CanSetPos = nullptr;
        decltype(&::ESCanPause) CanPause = nullptr;
        decltype(&::ESSetWindow) SetWindow = nullptr;
        decltype(&::ESUseOutCB) UseOutCB = nullptr;
        decltype(&::ESHasEQ) HasEQ = nullptr;
        decltype(&::ESUseEQ) UseEQ = nullptr;
        decltype(&::ESEQ) EQ = nullptr;
    };

    bool bindEntryPoints();
    void requireInstance() const;
    // A refused operation raises only for a positive code; a refused setting always raises.
    bool operationSucceeded(es::Bool answer);
    void checkSetting(es::Bool answer);
    QString moduleText(decltype(&::ESGetName) entryPoint, bool& ok) const;

    TElPlayers* collection;
    std::uint16_t VolumeFirst = 0;
    std::uint16_t VolumeSecond = 0;
    int FOutputDevNum = 0;
    QString FPathToDLL;
    int FLastError = 0;
    void* LibraryHandle = nullptr;
    es::Handle ModuleInstance = 0;
    std::unique_ptr<QObject> FWindow;
    EntryPoints entry;
    bool Paused = false;
    int FStartPos = 0;
    int FEndPos = 0;
    int FPriority = 0;
    int FBufferSize = 16384;
    TElSInputMode FInputMode = imFile;
    QString FInputName;
    TElSOutputMode FOutputMode = omMMSystem;
    QString FOutputName;
    int FBuffersCount = 8;
    bool FInitialized = false;
    bool FUseEqualizer = false;
};
