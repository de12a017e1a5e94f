#include "mygame/MyGame_MenuLevel.h"

#include "core/Core_File.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Random.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_FindObject.h"

#include <charconv>
#include <string_view>

TUN_DEFINE_UNCLONABLE_CLASS(MenuLevel)

namespace {

constexpr std::uint32_t kWorldLayer = 1;
constexpr float kLargestPhysicsStep = 0.02f;
// The ground strip: columns 48 apart from x 0 while below 1200.
constexpr std::int32_t kStripEnd = 1200;
constexpr std::int32_t kColumnWidth = 48;
constexpr float kTopTileY = 72.0f;
constexpr float kFillingTileY = 24.0f;
// Looks per theme on the tiles' sheets.
constexpr std::int32_t kTopTileFramesPerTheme = 3;
constexpr std::int32_t kFillingTileFramesPerTheme = 5;

}  // namespace

MenuLevel::MenuLevel() {
    Globals().paused = 0;
    m_machine = BuildMenuSM(this);
}

MenuLevel::~MenuLevel() = default;

void MenuLevel::Save(Core::File& file) const {
    Level::Save(file);
    m_machine->Save(file);
}

void MenuLevel::Load(Core::File& file) {
    Level::Load(file);
    m_machine->Load(file);
    if (!file.HasFailed()) {
        FindObjects();
    }
}

void MenuLevel::OnStart() {
    MyGame* game = GetGame();
    if (game != nullptr) {
        game->ClearMusicLinks();
        game->LoadMusicPlaylist();
        game->LoadSoundEffects();
        game->CaptureTemplates();
        if (Physics2D::PhysicsEngine* physics = game->GetPhysicsEngine()) {
            physics->SetMaximumSimulationStep(kLargestPhysicsStep);
        }
    }
    Globals().paused = 0;
    FindObjects();
    ShowCurrency();
    const std::int32_t theme = game != nullptr ? GetLevelInfo(game->GetProfile().highestStage).Theme() : 0;
    LayGroundStrip(theme);
    if (m_sky) {
        m_sky->SetCurrentAnimationIndex(theme, false);
    }
}

void MenuLevel::Update(float dt) {
    m_machine->Update(dt);
    ShowCurrency();
}

void MenuLevel::FindObjects() {
    m_bulletTemplate = Tundra::FindObject<Tundra::Sprite>(*this, "BulletTemplate");
    m_title = Tundra::FindObject<Tundra::Sprite>(*this, "Title");
    m_player = Tundra::FindObject<MenuPlayer>(*this, "Player");
    m_exitSign = Tundra::FindObject<Tundra::Sprite>(*this, "ExitSign");
    m_titleSun = Tundra::FindObject<TitleSun>(*this, "TitleSun");
    m_colliderTileTemplate = Tundra::FindObject<MapTile>(*this, "MapTileColliderTemplate");
    m_groundTileTemplate = Tundra::FindObject<MapTile>(*this, "MapTileTemplate");
    m_currencyText = Tundra::FindObject<Tundra::Text>(*this, "DropsCollectedText");
    m_sky = Tundra::FindObject<Tundra::Sprite>(*this, "SkyGradient");
}

void MenuLevel::ShowCurrency() {
    const MyGame* game = GetGame();
    if (!m_currencyText || game == nullptr) {
        return;
    }
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, game->GetProfile().currency);
    const std::string_view text(digits, static_cast<std::size_t>(result.ptr - digits));
    if (m_currencyText->GetText() != text) {
        m_currencyText->SetText(text);
    }
}

void MenuLevel::LayGroundStrip(std::int32_t theme) {
    for (std::int32_t x = 0; x < kStripEnd; x += kColumnWidth) {
        const auto column = static_cast<float>(x);
        PlaceTile(m_colliderTileTemplate.Get(), theme * kTopTileFramesPerTheme, column, kTopTileY);
        PlaceTile(m_groundTileTemplate.Get(), theme * kFillingTileFramesPerTheme, column, kFillingTileY);
    }
}

void MenuLevel::PlaceTile(const MapTile* tileTemplate, std::int32_t firstFrame, float x, float y) {
    Tundra::Layer* world = GetLayer(kWorldLayer);
    if (tileTemplate == nullptr || world == nullptr) {
        return;
    }
    const Core::RefPtr<MapTile> tile(static_cast<MapTile*>(tileTemplate->Clone()));
    world->AddGameObject(tile.Get());
    tile->SetCurrentFrameIndex(firstFrame + RandomInt(0, 1), false);
    tile->SetFlipHorizontal(RandomInt(0, 1) != 0);
    tile->SetVisible(true);
    tile->SetOldPosition({x, y});
    tile->SetPosition({x, y});
}
