#pragma once

#include "Tundra_SaveScene.h"
#include "support/Tundra_TestGame.h"

#include "support/TempDirectory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tundratest {

using FileBytes = std::vector<std::uint8_t>;

constexpr std::size_t kSaveHeader = 16;
// The C-runtime generator's word, the 624 words of the game's generator and its index.
constexpr std::size_t kSaveGenerators = 4 + 624 * 4 + 4;

// The file again with the length and checksum of its payload as it now is.
FileBytes Reseal(FileBytes file);
// Whether one of the lines names the file and the reason.
bool Reported(const std::vector<std::string>& lines, const std::string& file, const std::string& reason);

// The test game with the immediate save and load of the frame's steps.
struct SavingGame : TestGame {
    using TestGame::TestGame;
    using Game::LoadStateFrom;
    using Game::SaveStateTo;
};

// A game whose executable lives in a fresh folder, so that "Saves" is its own.
class SaveLoadTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The game past its first frames; with the scene of every class.
    SavingGame& StartGame();
    SavingGame& StartScene();
    SavingGame& Game() { return static_cast<SavingGame&>(*m_game); }
    std::string SavePath(const std::string& name) const { return m_folder.Path() + "/Saves/" + name; }
    Core::String EnginePath(const std::string& name) const;
    FileBytes ReadBytes(const std::string& name) const;
    void WriteBytes(const std::string& name, const FileBytes& bytes) const;

    testsupport::TempDirectory m_folder;
};

}  // namespace tundratest
