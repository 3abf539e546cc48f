#include "PreviewCommands.h"

#include "ElSounds.h"

TElPlayer* setUpPreviewPlayer(TElPlayerMan& manager, const QString& folder)
{
    TElPlayer* player = manager.Players()->Add();
    player->SetPathToDLL(folder + QStringLiteral("dodid.esp"));
    try {
        player->LoadModule();
        player->SetBuffersCount(8);
        player->SetBufferSize(8192);
        player->SetInputMode(imFile);
        player->SetOutputMode(omMMSystem);
        player->SetOutputDevNum(-1);
    } catch (const std::exception&) {
        manager.Players()->Delete(player);
        return nullptr;
    }
    return player;
}

void playSelected(TElPlayer* player, const std::optional<QString>& firstSelectedFile)
{
    if (!player)
        return;
    if (player->GetPaused()) {
        player->Resume();
        return;
    }
    if (!firstSelectedFile)
        return;
    if (playerModeOf(*player) == es::Playing)
        player->Stop();
    player->Close();
    player->SetInputName(*firstSelectedFile);
    player->Open();
    player->InitStream();
    player->Play();
}

void pauseOrResume(TElPlayer* player)
{
    if (!player)
        return;
    const int mode = playerModeOf(*player);
    if (mode != es::Playing && mode != es::Paused)
        return;
    if (player->GetPaused())
        player->Resume();
    else
        player->Pause();
}

void stopAndClose(TElPlayer* player)
{
    if (!player)
        return;
    if (playerModeOf(*player) == es::Playing)
        player->Stop();
    player->Close();
}

int playerModeOf(TElPlayer& player)
{
    return player.GetPlayerMode() & 0xFF;
}
