#include "core/Core_Clock.h"
#include "core/Core_DiskFile.h"
#include "core/Core_ErrorLog.h"
#include "core/Core_MemoryFile.h"
#include "gui/GUI_Input.h"
#include "network/Network_TunNet.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_SaveEnvelope.h"
#include "tundra/Tundra_SaveFolder.h"

#include <string>
#include <vector>

namespace Tundra {
namespace {

constexpr std::size_t kLinesShownPerLoad = 3;

void Report(const char* what, std::string_view path, std::string_view reason) {
    Core::LogError(std::string(what) + " \"" + std::string(path) + "\": " + std::string(reason));
}

}  // namespace

void Game::RequestSave(const Core::String& name) {
    if (AcceptsSaveRequest("Save", name, true)) {
        m_pendingOperation = 1;
        m_savePath = SaveFolder::FilePath(name);
    }
}

void Game::RequestLoad(const Core::String& name) {
    if (AcceptsSaveRequest("Load", name, false)) {
        m_pendingOperation = 2;
        m_loadPath = SaveFolder::FilePath(name);
    }
}

bool Game::AcceptsSaveRequest(const char* what, const Core::String& name, bool writes) const {
    if (m_network != nullptr && m_network->IsNetworkGame()) {
        Report(what, name, "refused in a network game");
        return false;
    }
    // A file of any plain name may be loaded; only shorter ones can be written.
    if (!(writes ? SaveFolder::IsSaveName(name) : SaveFolder::IsPlainName(name))) {
        Report(what, name, "not a plain file name");
        return false;
    }
    return true;
}

void Game::GetSavedGames(std::vector<Core::String>& names) const {
    names.clear();
    for (Core::String& name : SaveFolder::ListFiles()) {
        if (!SaveFolder::EndsWithNoCase(name, "_GAMESAVED") && !SaveFolder::EndsWithNoCase(name, "_REPLAYDATA")) {
            names.push_back(std::move(name));
        }
    }
}

void Game::ProcessSaveLoad() {
    switch (m_pendingOperation) {
        case 1:
            SaveStateTo(m_savePath);
            m_pendingOperation = 0;
            m_savePath.clear();
            break;
        case 2: {
            const Core::String path = std::move(m_loadPath);
            m_loadPath.clear();
            LoadStateFrom(path);
            break;
        }
        case 4: {
            // The state to come back to, then the replay's starting state.
            const Core::String savePath = std::move(m_savePath);
            const Core::String loadPath = std::move(m_loadPath);
            m_savePath.clear();
            m_loadPath.clear();
            m_pendingOperation = 0;
            // Without the state to come back to (an older one may be there)
            // the replay does not start.
            if (!SaveStateTo(savePath)) {
                m_replayPlaying = 0;
            } else if (LoadStateFrom(loadPath)) {
                m_replayRecording = 0;
            } else {
                m_replayPlaying = 0;
            }
            break;
        }
        default:
            break;
    }
}

void Game::ClearForLoad() {
    if (m_shutDown || m_engineSteps != 0) {
        return;
    }
    const Core::RefPtr<LevelFactory> factory = m_factory;
    if (!EndCurrentLevel()) {
        return;
    }
    factory->OnLevelChanged();
    GameObject::SetIdCounter(0);
    m_levelChangePending = 0;
    m_lastFrameTime = Core::GetMilliseconds();
}

bool Game::SaveStateTo(const Core::String& path) {
    Core::MemoryFile payload;
    if (!m_shutDown) {
        WritePayload(payload);
    }
    if (m_shutDown || payload.HasFailed()) {
        Report("Save", path, "the game state could not be written");
        return false;
    }
    if (!SaveFolder::Ensure()) {
        Report("Save", path, "no Saves folder");
        return false;
    }
    const std::span<const std::uint8_t> bytes(payload.GetData(), payload.GetSize());
    const std::vector<std::uint8_t> header = SaveEnvelope::Header(bytes);
    Core::DiskFile file(path, Core::DiskFile::kModeWrite);
    file.Write(header.data(), static_cast<std::uint32_t>(header.size()));
    file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    file.Close();
    if (file.HasFailed()) {
        Report("Save", path, "write failed");
        return false;
    }
    return true;
}

bool Game::LoadStateFrom(const Core::String& path) {
    if (m_shutDown || m_engineSteps != 0) {
        return false;
    }
    std::string reason;
    const std::vector<std::uint8_t> bytes = SaveFolder::ReadFile(path, SaveEnvelope::kMaxFileSize, reason);
    const std::span<const std::uint8_t> payload = reason.empty() ? SaveEnvelope::Open(bytes, reason) : bytes;
    if (!reason.empty()) {
        Report("Load", path, reason);
        return false;
    }
    // The running game, to come back to when the file's state is refused.
    Core::MemoryFile running;
    WritePayload(running);
    if (running.HasFailed()) {
        Report("Load", path, "the running game could not be kept");
        return false;
    }
    // Its bytes are enough: the objects go with the level they belong to.
    running.ResetObjectTables();
    // The HUD places the pointer as it reads its part, before the rest of
    // the file may be refused.
    const Vector2D pointer = GUI::input::GetMousePosition();
    ClearForLoad();
    bool loaded = false;
    if (!m_shutDown) {
        // What the file's objects refuse as they are read makes a few lines, not one per object.
        const Core::ErrorLogLimit fewLines(kLinesShownPerLoad);
        loaded = LoadPayload(payload, reason);
    }
    if (!loaded && !m_shutDown) {
        Report("Load", path, reason);
        ClearForLoad();
        std::string restoreReason;
        if (!m_shutDown && !LoadPayload({running.GetData(), running.GetSize()}, restoreReason)) {
            Report("Load", path, "the running game could not be restored: " + restoreReason);
        }
        if (GUI::input::GetMousePosition() != pointer) {
            GUI::input::WarpMouse(pointer);
        }
    }
    m_lastFrameTime = Core::GetMilliseconds();
    return loaded;
}

}  // namespace Tundra
