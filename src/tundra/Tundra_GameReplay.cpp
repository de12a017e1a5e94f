#include "tundra/Tundra_Game.h"

#include "core/Core_DiskFile.h"
#include "core/Core_ErrorLog.h"
#include "network/Network_TunNet.h"
#include "tundra/Tundra_ReplayDataFile.h"
#include "tundra/Tundra_SaveFolder.h"

#include <string>
#include <string_view>

namespace Tundra {

namespace {

constexpr std::uint32_t kWriteReplayData = 3;
constexpr std::uint32_t kStartReplay = 4;

// The state a replay returns to when it ends or is stopped.
constexpr std::string_view kReplayReturnSave = "gameSaved_OnReplayStart";
constexpr std::string_view kStartSuffix = "_gameSaved";
constexpr std::string_view kDataSuffix = "_replayData";

Core::String WithSuffix(const Core::String& name, std::string_view suffix) { return name + Core::String(suffix); }

// Hours of play stay far below it.
constexpr std::uint64_t kMaxDataFileBytes = 256ull << 20;

void Report(std::string_view path, std::string_view reason) {
    Core::LogError("Replay \"" + std::string(path) + "\": " + std::string(reason));
}

// The name and both files of a replay must be plain names inside the folder,
// and short enough to write when a recording writes them; a refused name is
// reported.
bool AcceptsReplayName(const Core::String& name, bool writes) {
    const auto accepts = writes ? SaveFolder::IsSaveName : SaveFolder::IsPlainName;
    const bool plain = accepts(name) && accepts(WithSuffix(name, kStartSuffix)) && accepts(WithSuffix(name, kDataSuffix));
    if (!plain) {
        Report(name, "not a plain file name");
    }
    return plain;
}

}  // namespace

void Game::ReplayRecordingStart(const Core::String& name) {
    if (m_replayPlaying != 0 || !AcceptsReplayName(name, true)) {
        return;
    }
    m_replayRecording = 1;
    m_recordedFrames.clear();
    m_recordingName = name;
    // In a network game the frames are recorded without a starting state.
    if (!m_network->IsNetworkGame()) {
        m_savePath = SaveFolder::FilePath(WithSuffix(name, kStartSuffix));
        m_pendingOperation = kSaveRecordingStart;
    }
}

void Game::ReplayRecordingStop() {
    if (m_replayRecording == 0 || m_replayPlaying != 0) {
        return;
    }
    m_replayRecording = 0;
    if (m_network->IsNetworkGame()) {
        Report(m_recordingName, "not written in a network game");
        return;
    }
    m_pendingOperation = kWriteReplayData;
    m_recordingName = SaveFolder::FilePath(WithSuffix(m_recordingName, kDataSuffix));
}

void Game::ReplayStart(const Core::String& name) {
    if (m_network->IsNetworkGame()) {
        Report(name, "refused in a network game");
        return;
    }
    // A second start would save the first replay's middle as the state to return to.
    if (m_replayPlaying != 0 || !AcceptsReplayName(name, false)) {
        return;
    }
    m_replayPlaying = 1;
    m_replayFrames.clear();
    RequestSave(Core::String(kReplayReturnSave));
    RequestLoad(WithSuffix(name, kStartSuffix));
    m_pendingOperation = kStartReplay;
    m_replayName = SaveFolder::FilePath(WithSuffix(name, kDataSuffix));
    m_replayFrameCursor = 0;
}

void Game::ReplayStop() {
    if (m_replayPlaying != 0) {
        m_replayPlaying = 0;
        RequestLoad(Core::String(kReplayReturnSave));
    }
}

void Game::GetReplayFiles(std::vector<Core::String>& names) const {
    names.clear();
    for (const Core::String& file : SaveFolder::ListFiles()) {
        if (SaveFolder::EndsWithNoCase(file, kDataSuffix)) {
            names.emplace_back(file.substr(0, file.size() - kDataSuffix.size()));
        }
    }
}

void Game::SaveRecordingStart() {
    const Core::String path = m_savePath;
    m_savePath.clear();
    m_pendingOperation = 0;
    // A recording whose start cannot be loaded could never be replayed.
    if (!SaveStateTo(path) || !LoadStateFrom(path)) {
        m_replayRecording = 0;
    }
    m_recordedFrames.clear();
}

void Game::WriteReplayData() {
    if (!SaveFolder::Ensure()) {
        Report(m_recordingName, "no Saves folder");
        return;
    }
    Core::DiskFile file(m_recordingName, Core::DiskFile::kModeWrite);
    ReplayDataFile::Write(file, m_recordedFrames);
    file.Close();
    if (file.HasFailed()) {
        Report(m_recordingName, "write failed");
    }
}

void Game::ReadReplayData() {
    std::string reason;
    const std::vector<std::uint8_t> bytes = SaveFolder::ReadFile(m_replayName, kMaxDataFileBytes, reason);
    if (!reason.empty() || !ReplayDataFile::Read(bytes, m_replayFrames, reason)) {
        Report(m_replayName, "replay not started: " + reason);
        m_pendingOperation = 0;
        m_replayPlaying = 0;
    }
}

void Game::PlayReplayFrame(float& dt) {
    Input::Keyboard* keyboard = GetKeyboard();
    Input::Mouse* mouse = GetMouse();
    if (keyboard != nullptr && keyboard->IsTriggered(keyboard->GetUserValue())) {
        ReplayStop();
        keyboard->Reset();
        keyboard->EndWaitForRelease();
        return;
    }
    // A replay without frames ends as one at the end of its frames does.
    if (m_replayFrameCursor < m_replayFrames.size()) {
        const ReplayFrame& frame = m_replayFrames[m_replayFrameCursor];
        if (m_replayFrameCursor == 0 && mouse != nullptr) {
            RestMouseAt(frame, *mouse);
        }
        ApplyReplayFrame(frame, keyboard, mouse);
        dt = frame.dt;
        ++m_replayFrameCursor;
    }
    if (m_replayFrameCursor >= m_replayFrames.size()) {
        ReplayStop();
    }
}

void Game::RecordReplayFrame(float dt) {
    if (m_replayRecording != 0 && m_replayPlaying == 0) {
        m_recordedFrames.push_back(CaptureReplayFrame(GetKeyboard(), GetMouse(), dt));
    }
}

}  // namespace Tundra
