#include "ElSounds.h"

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <algorithm>
#include <dlfcn.h>

namespace {

const char* const errorMessages[] = {
    "No error",
    "Requested operation is not implemented in the decoder",
    "Incorrect decoder mode",
    "Internal decoder error",
    "Invalid object handle passed to decoder",
    "Input stream failure",
    "Output device failure",
    "Not enough memory to perform an operation",
    "Decoder failed to allocate resources",
    "One of callback functions needed to perform an operation not defined",
    "Failed to load or initialize decoder module",
    "Module not initialized",
};

const QString notInitializedText = QStringLiteral("(Module not initialized)");

// A module text longer than this is taken as a broken answer rather than allocated.
constexpr std::int32_t longestModuleText = 1 << 20;

// The player's hidden window: an object that exists only to receive messages for the player.
class HiddenWindow : public QObject {
public:
    explicit HiddenWindow(TElPlayer& player) : player(player) {}

protected:
    bool event(QEvent* message) override { return player.WndProc(*message); }

private:
    TElPlayer& player;
};

template <typename EntryPoint>
bool bind(void* library, const char* name, EntryPoint& address)
{
    void* found = dlsym(library, name);
    address = reinterpret_cast<EntryPoint>(found);
    return found != nullptr;
}

TElPlayer& playerOf(void* userData)
{
    return *static_cast<TElPlayer*>(userData);
}

// An exception must not unwind through the module, whose thread may be running the callback.
template <typename Call>
es::Bool answer(bool preset, Call call)
{
    bool success = preset;
    try {
        call(success);
    } catch (...) {
        success = false;
    }
    return success ? 1 : 0;
}

}  // namespace

extern "C" {

static es::Bool OutputCallback(void* SampleData, std::int32_t SBits, std::int32_t Channels, std::int32_t SampleRate,
                               std::int32_t Size, void* UserData)
{
    return answer(true, [&](bool& success) {
        playerOf(UserData).DoOutput(SampleData, SBits, Channels, SampleRate, Size, success);
    });
}

static es::Bool OutputActionCallback(es::Bool IsInit, void* UserData)
{
    return answer(true, [&](bool& success) {
        if (IsInit)
            playerOf(UserData).DoOutputInit(success);
        else
            playerOf(UserData).DoOutputDone(success);
    });
}

static es::Bool InputOpenCallback(void* UserData, std::int32_t* UserDataInt, es::Bool* CanSetPos)
{
    return answer(false, [&](bool& success) {
        int data = UserDataInt ? *UserDataInt : 0;
        bool canSetPos = CanSetPos && *CanSetPos;
        playerOf(UserData).DoInputOpen(data, canSetPos, success);
        if (UserDataInt)
            *UserDataInt = data;
        if (CanSetPos)
            *CanSetPos = canSetPos ? 1 : 0;
    });
}

static es::Bool InputCloseCallback(void* UserData, std::int32_t UserDataInt)
{
    return answer(true, [&](bool& success) { playerOf(UserData).DoInputClose(UserDataInt, success); });
}

static es::Bool InputGetSizeCallback(void* UserData, std::int32_t UserDataInt, std::int32_t* Size)
{
    return answer(false, [&](bool& success) {
        int size = Size ? *Size : 0;
        playerOf(UserData).DoInputGetSize(UserDataInt, size, success);
        if (Size)
            *Size = size;
    });
}

static es::Bool InputSeekCallback(void* UserData, std::int32_t UserDataInt, std::int32_t* NewPos,
                                  std::int32_t SeekMode)
{
    return answer(false, [&](bool& success) {
        int position = NewPos ? *NewPos : 0;
        playerOf(UserData).DoInputSeek(UserDataInt, position, SeekMode, success);
        if (NewPos)
            *NewPos = position;
    });
}

static es::Bool InputReadCallback(void* UserData, std::int32_t UserDataInt, void* Buffer, std::int32_t BytesToRead,
                                  std::int32_t* BytesRead)
{
    return answer(false, [&](bool& success) {
        int read = BytesRead ? *BytesRead : 0;
        playerOf(UserData).DoInputRead(UserDataInt, Buffer, BytesToRead, read, success);
        if (BytesRead)
            *BytesRead = read;
    });
}

}  // extern "C"

TElSException::TElSException(std::uint8_t Code)
    : ErrorCode(Code), message(Code < std::size(errorMessages) ? errorMessages[Code] : "Unknown decoder error")
{
}

// ---- TElPlayers and TElPlayerMan ----

TElPlayers::TElPlayers(TElPlayerMan* Manager) : FManager(Manager) {}

TElPlayers::~TElPlayers()
{
    Clear();
}

TElPlayer* TElPlayers::Add()
{
    items.push_back(std::make_unique<TElPlayer>(this));
    return items.back().get();
}

void TElPlayers::Delete(TElPlayer* Item)
{
    auto found = std::find_if(items.begin(), items.end(), [Item](const auto& item) { return item.get() == Item; });
    if (found != items.end())
        items.erase(found);
}

void TElPlayers::Clear()
{
    items.clear();
}

TElPlayer* TElPlayers::GetItems(int Index) const
{
    return items.at(static_cast<std::size_t>(Index)).get();
}

void TElPlayers::SetItems(int Index, const TElPlayer& Value)
{
    GetItems(Index)->Assign(Value);
}

TElPlayerMan::TElPlayerMan(QObject* AOwner) : QObject(AOwner), players(std::make_unique<TElPlayers>(this)) {}

TElPlayerMan::~TElPlayerMan() = default;

void TElPlayerMan::SetPlayers(const TElPlayers* Value)
{
    if (Value == players.get())
        return;
    players->Clear();
    for (int i = 0; Value && i < Value->Count(); ++i)
        players->Add()->Assign(*Value->GetItems(i));
}

// ---- TElPlayer: life, loading, the error rule ----

TElPlayer::TElPlayer(TElPlayers* Collection) : collection(Collection), FWindow(std::make_unique<HiddenWindow>(*this))
{
}

TElPlayer::~TElPlayer()
{
    UnloadModule();
}

void TElPlayer::Assign(const TElPlayer& Source)
{
    SetInputMode(Source.FInputMode);
    SetInputName(Source.FInputName);
    SetOutputMode(Source.FOutputMode);
    SetOutputName(Source.FOutputName);
    SetPathToDLL(Source.FPathToDLL);
    SetStartPos(Source.FStartPos);
    SetEndPos(Source.FEndPos);
    SetPriority(Source.FPriority);
    SetBuffersCount(Source.FBuffersCount);
    SetBufferSize(Source.FBufferSize);
    SetOutputDevNum(Source.FOutputDevNum);
    SetUseEqualizer(Source.FUseEqualizer);
    OnOutputInit = Source.OnOutputInit;
    OnOutputDone = Source.OnOutputDone;
    OnOutput = Source.OnOutput;
    OnInputOpen = Source.OnInputOpen;
    OnInputClose = Source.OnInputClose;
    OnInputGetSize = Source.OnInputGetSize;
    OnInputSeek = Source.OnInputSeek;
    OnInputRead = Source.OnInputRead;
}

es::Window TElPlayer::Window() const
{
    return FWindow.get();
}

bool TElPlayer::bindEntryPoints()
{
    void* l = LibraryHandle;
    EntryPoints& e = entry;
    return bind(l, "ESInitModule", e.InitModule) && bind(l, "ESDeInitModule", e.DeInitModule)
        && bind(l, "ESOpen", e.Open) && bind(l, "ESClose", e.Close) && bind(l, "ESPlay", e.Play)
        && bind(l, "ESCanPause", e.CanPause) && bind(l, "ESPause", e.Pause) && bind(l, "ESResume", e.Resume)
        && bind(l, "ESStop", e.Stop) && bind(l, "ESCanSetPos", e.CanSetPos) && bind(l, "ESGetPos", e.GetPos)
        && bind(l, "ESSetPos", e.SetPos) && bind(l, "ESGetAbout", e.GetAbout) && bind(l, "ESGetName", e.GetName)
        && bind(l, "ESGetSize", e.GetSize) && bind(l, "ESSetInputMode", e.SetInputMode)
        && bind(l, "ESSetOutputMode", e.SetOutputMode) && bind(l, "ESSetInputName", e.SetInputName)
        && bind(l, "ESSetOutputName", e.SetOutputName) && bind(l, "ESSetOutputDev", e.SetOutputDev)
        && bind(l, "ESGetPlayerMode", e.GetPlayerMode) && bind(l, "ESLastError", e.LastError)
        && bind(l, "ESGetVersion", e.GetVersion) && bind(l, "ESSetBuffers", e.SetBuffers)
        && bind(l, "ESSetPriority", e.SetPriority) && bind(l, "ESSetLimits", e.SetLimits)
        && bind(l, "ESSetOutCB", e.SetOutCB) && bind(l, "ESGetVolume", e.GetVolume)
        && bind(l, "ESSetVolume", e.SetVolume) && bind(l, "ESCanSetVolume", e.CanSetVolume)
        && bind(l, "ESGetExts", e.GetExts) && bind(l, "ESGetInfo1", e.GetInfo1) && bind(l, "ESGetInfo2", e.GetInfo2)
        && bind(l, "ESInitStream", e.InitStream) && bind(l, "ESSetDevNum", e.SetDevNum)
        && bind(l, "ESSetInCB", e.SetInCB) && bind(l, "ESSetWindow", e.SetWindow) && bind(l, "ESUseOutCB", e.UseOutCB)
        && bind(l, "ESUseEQ", e.UseEQ) && bind(l, "ESHasEQ", e.HasEQ) && bind(l, "ESEQ", e.EQ);
}

void TElPlayer::LoadModule()
{
    // Loading again must not leave the earlier library or instance behind.
    UnloadModule();
    const QByteArray path = QFile::encodeName(FPathToDLL);
    if (!path.isEmpty())
        LibraryHandle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!LibraryHandle || !bindEntryPoints())
        throw TElSException(es::LoadFailure);
    ModuleInstance = entry.InitModule();
    if (ModuleInstance == 0)
        throw TElSException(es::NotInitialized);
    entry.SetOutCB(ModuleInstance, OutputCallback, OutputActionCallback, this);
    entry.SetInCB(ModuleInstance, InputOpenCallback, InputCloseCallback, InputGetSizeCallback, InputSeekCallback,
                  InputReadCallback, this);
    FInitialized = true;
}

void TElPlayer::UnloadModule()
{
    if (ModuleInstance != 0) {
        entry.DeInitModule(ModuleInstance);
        ModuleInstance = 0;
    }
    if (LibraryHandle) {
        dlclose(LibraryHandle);
        LibraryHandle = nullptr;
    }
    entry = {};
    FInitialized = false;
}

void TElPlayer::requireInstance() const
{
    if (ModuleInstance == 0)
        throw TElSException(es::NotInitialized);
}

bool TElPlayer::operationSucceeded(es::Bool answer)
{
    if (answer)
        return true;
    FLastError = entry.LastError(ModuleInstance);
    if (FLastError > 0)
        throw TElSException(static_cast<std::uint8_t>(FLastError));
    return false;
}

void TElPlayer::checkSetting(es::Bool answer)
{
    if (answer)
        return;
    FLastError = entry.LastError(ModuleInstance);
    throw TElSException(static_cast<std::uint8_t>(FLastError));
}

QString TElPlayer::moduleText(decltype(&::ESGetName) entryPoint, bool& ok) const
{
    std::int32_t length = 0;
    entryPoint(nullptr, &length);
    ok = length >= 0 && length < longestModuleText;
    if (!ok)
        return {};
    ++length;
    QByteArray buffer(length, '\0');
    ok = entryPoint(buffer.data(), &length) != 0;
    if (!ok)
        return {};
    return QString::fromLocal8Bit(buffer.constData(), static_cast<int>(qstrnlen(buffer.constData(), buffer.size())));
}

// ---- Settings ----

void TElPlayer::SetInputMode(TElSInputMode Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetInputMode(ModuleInstance, Value));
    FInputMode = Value;
}

void TElPlayer::SetInputName(const QString& Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetInputName(ModuleInstance, QFile::encodeName(Value).constData()));
    FInputName = Value;
}

void TElPlayer::SetOutputMode(TElSOutputMode Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetOutputMode(ModuleInstance, Value));
    FOutputMode = Value;
}

void TElPlayer::SetOutputName(const QString& Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetOutputName(ModuleInstance, QFile::encodeName(Value).constData()));
    FOutputName = Value;
}

void TElPlayer::SetStartPos(int Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetLimits(ModuleInstance, Value, FEndPos));
    FStartPos = Value;
}

void TElPlayer::SetEndPos(int Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetLimits(ModuleInstance, FStartPos, Value));
    FEndPos = Value;
}

void TElPlayer::SetPriority(int Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetPriority(ModuleInstance, Value));
    FPriority = Value;
}

void TElPlayer::SetBuffersCount(int Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetBuffers(ModuleInstance, Value, FBufferSize));
    FBuffersCount = Value;
}

void TElPlayer::SetBufferSize(int Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetBuffers(ModuleInstance, FBuffersCount, Value));
    FBufferSize = Value;
}

void TElPlayer::SetOutputDevNum(int Value)
{
    if (ModuleInstance != 0)
        checkSetting(entry.SetDevNum(ModuleInstance, Value));
    FOutputDevNum = Value;
}

void TElPlayer::SetUseEqualizer(bool Value)
{
    if (ModuleInstance != 0) {
        if (!HasEqualizer())
            return;
        checkSetting(entry.UseEQ(ModuleInstance, Value ? 1 : 0));
    }
    FUseEqualizer = Value;
}

void TElPlayer::SetInitialized(bool Value)
{
    if (Value == FInitialized)
        return;
    if (Value)
        LoadModule();
    else
        UnloadModule();
}

// ---- Texts and numbers the module answers ----

QString TElPlayer::ModuleName()
{
    if (ModuleInstance == 0)
        return notInitializedText;
    bool ok = false;
    const QString text = moduleText(entry.GetName, ok);
    return ok ? text : QStringLiteral("Unknown module");
}

QString TElPlayer::About()
{
    if (ModuleInstance == 0)
        return notInitializedText;
    bool ok = false;
    const QString text = moduleText(entry.GetAbout, ok);
    return ok ? text : QStringLiteral("Unknown module ... ");
}

int TElPlayer::Version()
{
    return ModuleInstance == 0 ? -1 : entry.GetVersion();
}

QString TElPlayer::Extensions()
{
    if (ModuleInstance == 0)
        return {};
    bool ok = false;
    const QString text = moduleText(entry.GetExts, ok);
    return ok ? text : QString();
}

// ---- Operations ----

void TElPlayer::Open()
{
    requireInstance();
    SetInputMode(FInputMode);
    SetInputName(FInputName);
    SetOutputMode(FOutputMode);
    SetOutputName(FOutputName);
    try {
        SetPriority(FPriority);
    } catch (const TElSException&) {
        // A priority the module cannot give is no reason not to play.
    }
    operationSucceeded(entry.Open(ModuleInstance));
}

void TElPlayer::InitStream()
{
    requireInstance();
    SetOutputDevNum(FOutputDevNum);
    operationSucceeded(entry.InitStream(ModuleInstance));
}

void TElPlayer::Play()
{
    requireInstance();
    SetStartPos(FStartPos);
    SetEndPos(FEndPos);
    entry.SetWindow(ModuleInstance, Window());
    entry.UseOutCB(ModuleInstance, OnOutput && OnOutputInit && OnOutputDone ? 1 : 0);
    if (!operationSucceeded(entry.Play(ModuleInstance)))
        return;
    bool canSet = false;
    if (!operationSucceeded(CanSetVolume(canSet) ? 1 : 0) || !canSet)
        return;
    GetVolume();
    entry.SetVolume(ModuleInstance, (std::uint32_t(VolumeFirst) << 16) | VolumeSecond);
}

void TElPlayer::Pause()
{
    requireInstance();
    if (operationSucceeded(entry.Pause(ModuleInstance)))
        Paused = true;
}

void TElPlayer::Resume()
{
    requireInstance();
    if (operationSucceeded(entry.Resume(ModuleInstance)))
        Paused = false;
}

void TElPlayer::Stop()
{
    requireInstance();
    if (operationSucceeded(entry.Stop(ModuleInstance)))
        Paused = false;
}

void TElPlayer::Close()
{
    requireInstance();
    if (operationSucceeded(entry.Close(ModuleInstance)))
        Paused = false;
}

std::int32_t TElPlayer::GetPlayerMode()
{
    requireInstance();
    return entry.GetPlayerMode(ModuleInstance);
}

std::uint16_t TElPlayer::GetVolume()
{
    requireInstance();
    std::uint32_t volume = 0;
    if (entry.GetVolume(ModuleInstance, &volume)) {
        VolumeFirst = static_cast<std::uint16_t>(volume & 0xFFFF);
        VolumeSecond = static_cast<std::uint16_t>(volume >> 16);
        return VolumeFirst;
    }
    if (FOutputMode != omMMSystem)
        return 0;
    checkSetting(0);
    return 0;
}

bool TElPlayer::CanSetVolume(bool& CanSet)
{
    requireInstance();
    es::Bool answer = CanSet ? 1 : 0;
    const bool succeeded = entry.CanSetVolume(ModuleInstance, &answer) != 0;
    CanSet = answer != 0;
    return succeeded;
}

bool TElPlayer::HasEqualizer()
{
    requireInstance();
    es::Bool has = 0;
    entry.HasEQ(ModuleInstance, &has);
    return has != 0;
}

// ---- Messages and module events ----

bool TElPlayer::WndProc(QEvent&)
{
    return false;
}

void TElPlayer::DoOutputInit(bool& Success)
{
    if (OnOutputInit)
        OnOutputInit(this, Success);
    else
        Success = false;
}

void TElPlayer::DoOutputDone(bool& Success)
{
    if (OnOutputDone)
        OnOutputDone(this, Success);
    else
        Success = false;
}

void TElPlayer::DoOutput(void* SampleData, int SBits, int Channels, int SampleRate, int Size, bool& Success)
{
    if (OnOutput)
        OnOutput(this, SampleData, SBits, Channels, SampleRate, Size, Success);
    else
        Success = false;
}

void TElPlayer::DoInputOpen(int& UserData, bool& CanSetPos, bool& Success)
{
    if (OnInputOpen)
        OnInputOpen(this, UserData, CanSetPos, Success);
    else
        Success = false;
}

void TElPlayer::DoInputClose(int UserData, bool& Success)
{
    if (OnInputClose)
        OnInputClose(this, UserData, Success);
    else
        Success = false;
}

void TElPlayer::DoInputGetSize(int UserData, int& Size, bool& Success)
{
    if (OnInputGetSize)
        OnInputGetSize(this, UserData, Size, Success);
    else
        Success = false;
}

void TElPlayer::DoInputSeek(int UserData, int& NewPos, int SeekMode, bool& Success)
{
    if (OnInputSeek)
        OnInputSeek(this, UserData, NewPos, SeekMode, Success);
    else
        Success = false;
}

void TElPlayer::DoInputRead(int UserData, void* Buffer, int BytesToRead, int& BytesRead, bool& Success)
{
    if (OnInputRead)
        OnInputRead(this, UserData, Buffer, BytesToRead, BytesRead, Success);
    else
        Success = false;
}
