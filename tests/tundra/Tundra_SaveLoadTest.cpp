#include "Tundra_SaveLoadTest.h"

#include "core/Core_Crc32.h"
#include "os/OS_ByteOrder.h"
#include "os/OS_Path.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tundratest {

FileBytes Reseal(FileBytes file) {
    os::StoreU32LE(&file[8], static_cast<std::uint32_t>(file.size() - kSaveHeader));
    os::StoreU32LE(&file[12], Core::Crc32(file.data() + kSaveHeader, file.size() - kSaveHeader));
    return file;
}

bool Reported(const std::vector<std::string>& lines, const std::string& file, const std::string& reason) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(file) != std::string::npos && line.find(reason) != std::string::npos;
    });
}

void SaveLoadTest::SetUp() {
    GameTest::SetUp();
    os::SetExecutablePathForTesting(m_folder.Path() + "/game");
}

void SaveLoadTest::TearDown() {
    GameTest::TearDown();
    os::SetExecutablePathForTesting("");
}

SavingGame& SaveLoadTest::StartGame() {
    m_game = nullptr;
    Tundra::GameObject::SetIdCounter(0);
    m_game = TUN_NEW(SavingGame, m_factory.Get(), 0);
    Step(2);
    return Game();
}

SavingGame& SaveLoadTest::StartScene() {
    FillSaveScene(StartGame());
    Step(6);
    return Game();
}

Core::String SaveLoadTest::EnginePath(const std::string& name) const {
    return Tundra::Game::GetDirectory() + "\\Saves\\" + Core::String(name);
}

FileBytes SaveLoadTest::ReadBytes(const std::string& name) const {
    std::ifstream file(SavePath(name), std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void SaveLoadTest::WriteBytes(const std::string& name, const FileBytes& bytes) const {
    std::filesystem::create_directories(m_folder.Path() + "/Saves");
    // A new file: truncating one the disk still writes out waits for it.
    std::filesystem::remove(SavePath(name));
    std::ofstream file(SavePath(name), std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tundratest
