#include "AssetGen_Manifest.h"

#include <vector>

#include "AssetGen_SoundAssets.h"

namespace AssetGen {
namespace {

constexpr unsigned kFill = kFillsCell;
constexpr unsigned kTint = kTinted;
constexpr unsigned kCropW = kCroppedWidth;
constexpr unsigned kCropH = kCroppedHeight;

struct SheetEntry {
    const char* name;
    Family family;
    SheetGrid grid;
};

// Frame sizes are the bounding rectangles of the collision actors that
// animate each sheet (where an animation's frames differ by a pixel, the
// larger); a sheet several objects use is one file.
constexpr Family I = Family::Interface;
constexpr Family W = Family::World;
constexpr Family P = Family::Player;
constexpr Family E = Family::Enemy;
constexpr Family B = Family::Boss;

const SheetEntry kSheets[] = {
    // Logos of the intro.
    {"HwLogo", I, {1, 1, 1, 516, 150}},
    {"TdLogo", I, {1, 1, 1, 800, 180}},
    {"SquealingQuor", I, {2, 1, 2, 528, 318}},
    // Weapon gauges: the frames and the four fills behind them.
    {"WeaponBars", I, {2, 2, 4, 42, 76, kFill}},
    {"PlasmaBar", I, {1, 1, 1, 42, 76, kFill | kCropH}},
    {"LightningBar", I, {1, 1, 1, 42, 76, kFill | kCropH}},
    {"FlamethrowerBar", I, {1, 1, 1, 42, 76, kFill | kCropH}},
    {"MachineGunBar", I, {1, 1, 1, 42, 76, kFill | kCropH}},
    // Player health.
    {"PlayerHPColor", I, {1, 1, 1, 106, 28, kFill | kTint | kCropW}},
    {"PlayerHP", I, {1, 1, 1, 124, 44, kFill}},
    // Frame panels, scaled by the code.
    {"FrameBG", I, {1, 1, 1, 1, 1, kFill}},
    {"FramePipe", I, {1, 1, 1, 1, 9, kFill}},
    {"FrameCorner", I, {1, 1, 1, 34, 34, kFill}},
    // Volume control.
    {"Volume", I, {1, 1, 1, 200, 72, kFill | kTint | kCropW}},
    {"volumeBG", I, {1, 1, 1, 200, 72, kFill}},
    // Shop tabs, weapon selection, buttons and capsules.
    {"RobotTab", I, {2, 2, 3, 152, 68}},
    {"PlasmaTab", I, {2, 2, 3, 152, 68}},
    {"BeamTab", I, {2, 2, 3, 152, 68}},
    {"FlamerTab", I, {2, 2, 3, 152, 68}},
    {"MiniTab", I, {2, 2, 3, 150, 66}},
    {"PlasmaSel", I, {2, 2, 3, 89, 68}},
    {"LightSel", I, {2, 2, 3, 89, 68}},
    {"FlameSel", I, {2, 2, 3, 89, 68}},
    {"MiniGunSel", I, {2, 2, 3, 89, 68}},
    {"ButtonTemplate", I, {2, 2, 3, 228, 60}},
    {"OneCharButton", I, {2, 2, 3, 58, 58}},
    {"LevelSelButton", I, {2, 2, 3, 101, 101}},
    {"ShopCapsule", I, {3, 2, 6, 178, 48}},
    {"Credits", I, {1, 1, 1, 465, 575}},
    {"WhiteDot", I, {1, 1, 1, 1, 1, kFill}},
    // The game's cursor and its two gauges.
    {"Cursor", I, {1, 1, 1, 28, 26}},
    {"LRCursor", I, {2, 1, 2, 28, 26, kFill | kTint | kCropH}},
    // Title level: exit sign, machines, title, hints.
    {"MenuSignGeneric", I, {2, 2, 4, 74, 61}},
    {"MenuExit", I, {2, 2, 4, 74, 61}},
    {"MenuExitHover", I, {1, 1, 1, 74, 60}},
    {"OptionMachine", I, {2, 2, 3, 116, 154}},
    {"LevelSelMachine", I, {2, 2, 3, 116, 154}},
    {"WepSelMachine", I, {2, 2, 3, 116, 154}},
    {"Title", I, {1, 1, 1, 260, 174}},
    {"PushX", I, {1, 1, 1, 50, 42}},
    {"ControlInstruction", I, {2, 1, 2, 156, 56}},
    // Stage HUD: distance bar, warnings, dialog arrow, results, health bars.
    {"DistBar", I, {1, 1, 1, 224, 6, kFill}},
    {"DistBG", I, {1, 1, 1, 248, 26, kFill}},
    {"DistPoint", I, {1, 1, 1, 26, 26}},
    {"WarningText", I, {2, 1, 2, 412, 52}},
    {"WarningBoss", I, {1, 1, 1, 564, 164}},
    {"DialogArrow", I, {1, 1, 1, 32, 16}},
    {"Star", I, {2, 2, 4, 230, 118}},
    {"BossHPBar", I, {1, 1, 1, 156, 74, kFill}},
    {"BossHP", I, {1, 1, 1, 136, 30, kFill | kCropW}},
    {"HpBar", I, {2, 1, 2, 50, 8, kFill}},

    // Terrain, sky and scenery.
    {"GrassTileset", W, {4, 4, 15, 50, 50, kFill}},
    {"GrassColliderTileset", W, {3, 3, 9, 50, 50, kFill}},
    {"Sky1Gradient", W, {1, 1, 1, 1, 768, kFill}},
    {"Sky2Gradient", W, {1, 1, 1, 1, 768, kFill}},
    {"Sky3Gradient", W, {1, 1, 1, 1, 768, kFill}},
    {"TitleSun", W, {1, 1, 1, 256, 256}},
    {"BGCloud", W, {2, 2, 3, 512, 256, kTint}},

    // The robot, its mascot, guns, shots and pickups.
    {"Player", P, {1, 1, 1, 96, 96}},
    {"PlayerDmg", P, {2, 1, 2, 96, 96}},
    {"PlayerDeath", P, {5, 4, 17, 96, 192}},
    {"Quorvex", P, {1, 1, 1, 20, 26}},
    {"PlasmaWeapon", P, {2, 2, 4, 52, 20}},
    {"LightningWeapon", P, {2, 2, 4, 52, 22}},
    {"FlamethrowerWeapon", P, {2, 1, 2, 53, 22}},
    {"MachineGunWeapon", P, {1, 1, 1, 52, 22}},
    {"PlasmaBullet", P, {4, 3, 12, 24, 24}},
    {"PlasmaDestroy", P, {3, 2, 6, 25, 25}},
    {"LightHack", P, {1, 1, 1, 20, 20}},
    {"Lightning", P, {1, 6, 6, 1200, 80, kFill}},
    {"MachineGunBullet", P, {1, 1, 1, 64, 16}},
    {"MiniDestroy", P, {3, 2, 6, 25, 25}},
    {"EnemyDrop", P, {2, 2, 4, 64, 64}},

    // Enemies of the three themes and their shots.
    {"Range1Shoot", E, {2, 2, 3, 96, 96}},
    {"Range2Shoot", E, {2, 2, 3, 96, 96}},
    {"Range3Shoot", E, {2, 2, 3, 120, 96}},
    {"Range1Dead", E, {3, 3, 7, 96, 96}},
    {"Range2Dead", E, {3, 3, 7, 96, 96}},
    {"Range3Dead", E, {3, 3, 8, 120, 96}},
    {"Flying1", E, {2, 2, 4, 96, 96}},
    {"Flying2", E, {2, 2, 4, 96, 96}},
    {"Flying3", E, {2, 2, 4, 112, 96}},
    {"Flying1Dead", E, {3, 3, 9, 96, 96}},
    {"Flying2Dead", E, {3, 3, 9, 96, 96}},
    {"Flying3Dead", E, {3, 3, 9, 112, 96}},
    {"Rolling1", E, {3, 3, 8, 94, 94}},
    {"Rolling2", E, {3, 3, 7, 94, 94}},
    {"Rolling3", E, {3, 3, 7, 94, 94}},
    {"Range1P", E, {3, 2, 5, 48, 48}},
    {"Flying1P", E, {3, 2, 5, 48, 48}},
    {"Range2P", E, {3, 2, 5, 48, 48}},
    {"Flying2P", E, {3, 2, 5, 48, 48}},
    {"Range3P", E, {3, 2, 5, 48, 48}},
    {"Flying3P", E, {3, 2, 5, 48, 48}},

    // The three bosses, their parts and projectiles.
    {"UnknownBoss", B, {1, 1, 1, 610, 420}},
    {"UnknownDead", B, {3, 2, 6, 610, 420}},
    {"UnknownEyes", B, {2, 2, 4, 120, 168}},
    {"UnLeft", B, {2, 1, 2, 122, 122}},
    {"UnknownLeftDead", B, {3, 2, 6, 122, 122}},
    {"UnRight", B, {2, 1, 2, 122, 122}},
    {"UnknownRightDead", B, {3, 2, 6, 122, 122}},
    {"BearBossBody", B, {2, 1, 2, 300, 420}},
    {"BearBossLightAtt", B, {2, 2, 3, 300, 420}},
    {"BearBossDead", B, {3, 3, 9, 300, 420}},
    {"BearBossArm", B, {2, 1, 2, 74, 330}},
    {"BearBossArmDead", B, {3, 2, 6, 75, 330}},
    {"Alpaca", B, {2, 1, 2, 320, 420}},
    {"AlpacaDead", B, {4, 3, 12, 320, 420}},
    {"AlpacaEye1", B, {2, 2, 4, 128, 72}},
    {"AlpacaEye2", B, {2, 2, 4, 128, 72}},
    {"AlpacaEye3", B, {2, 2, 4, 128, 72}},
    {"BossAttWarn", B, {1, 1, 1, 56, 90}},
    {"BearBall", B, {3, 2, 5, 105, 105}},
    {"BearLightning", B, {2, 5, 10, 900, 80, kFill}},
    {"AlpacaBomb", B, {3, 2, 5, 104, 104}},
};

struct FileEntry {
    const char* path;
    FileKind kind;
};

const FileEntry kOtherFiles[] = {
    {"Fonts/DefaultFont/DefaultFont.png", FileKind::Font},
    {"Fonts/DefaultFont/DefaultFont.tbf", FileKind::Font},
    {"ParticleSystems/Particle_Texture.png", FileKind::Particle},
    {"Paths/TitleSun_SunStartPath", FileKind::Path},
    {"Paths/TitleSun_SunEndPath", FileKind::Path},
    {"Paths/FlyingRangedEnemy_path1", FileKind::Path},
    {"Paths/FlyingRangedEnemy_path2", FileKind::Path},
    {"Paths/FlyingRangedEnemy_path3", FileKind::Path},
    {"Layers Collisions/level0_layer0.txt", FileKind::Collision},
    {"Layers Collisions/level0_layer1.txt", FileKind::Collision},
    {"Layers Collisions/level0_layer2.txt", FileKind::Collision},
    {"Layers Collisions/level1_layer0.txt", FileKind::Collision},
    {"Layers Collisions/level1_layer1.txt", FileKind::Collision},
    {"Layers Collisions/level1_layer2.txt", FileKind::Collision},
    {"Layers Collisions/level2_layer0.txt", FileKind::Collision},
    {"Layers Collisions/level2_layer1.txt", FileKind::Collision},
    {"Layers Collisions/level2_layer2.txt", FileKind::Collision},
    {"GameIcon/GameIcon.ico", FileKind::Icon},
    {"Cursors/Arrow.png", FileKind::GuiImage},
    {"Skins/White.png", FileKind::GuiImage},
    {"Skins/Gray.png", FileKind::GuiImage},
    {"Skins/Overlays/ComboDown.png", FileKind::GuiImage},
    {"Skins/Overlays/ComboDownDisabled.png", FileKind::GuiImage},
    {"Skins/DefaultFormSkin/DefaultFormSkin.gui", FileKind::Skin},
    {"Skins/DefaultFormSkin/DefaultFormSkin.png", FileKind::Skin},
    {"Skins/DefaultButtonSkin/DefaultButtonSkin.gui", FileKind::Skin},
    {"Skins/DefaultButtonSkin/DefaultButtonSkin.png", FileKind::Skin},
    {"Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.gui", FileKind::Skin},
    {"Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.png", FileKind::Skin},
};

std::vector<ManifestRow> BuildManifest() {
    std::vector<ManifestRow> rows;
    for (const SheetEntry& sheet : kSheets) {
        rows.push_back({std::string("Animations/") + sheet.name + ".png", FileKind::Sheet, sheet.family, sheet.grid});
    }
    for (const FileEntry& file : kOtherFiles) {
        rows.push_back({file.path, file.kind});
    }
    // The sound module names its own files.
    for (const SoundAsset& sound : SoundAssets()) {
        rows.push_back({"Sounds/" + sound.fileName, FileKind::Sound});
    }
    return rows;
}

const FrameOverFill kFramesOverFills[] = {
    // The title level places the health bar's fill under its frame; the
    // stage places it one unit further left.
    {"PlayerHP", "PlayerHPColor", 0, 0},
    {"PlayerHP", "PlayerHPColor", -1, 0},
    {"volumeBG", "Volume", 0, 0},
    {"DistBG", "DistBar", 0, 0},
    {"BossHPBar", "BossHP", 0, -4},
    {"WeaponBars", "PlasmaBar", 0, 0},
    {"WeaponBars", "LightningBar", 0, 0},
    {"WeaponBars", "FlamethrowerBar", 0, 0},
    {"WeaponBars", "MachineGunBar", 0, 0},
};

}  // namespace

std::string_view ManifestRow::SheetName() const {
    std::string_view name = path;
    name.remove_prefix(name.rfind('/') + 1);
    return name.substr(0, name.rfind('.'));
}

std::span<const ManifestRow> Manifest() {
    static const std::vector<ManifestRow> rows = BuildManifest();
    return rows;
}

const ManifestRow* FindRow(std::string_view path) {
    for (const ManifestRow& row : Manifest()) {
        if (row.path == path) {
            return &row;
        }
    }
    return nullptr;
}

const ManifestRow* FindSheet(std::string_view sheetName) {
    for (const ManifestRow& row : Manifest()) {
        if (row.kind == FileKind::Sheet && row.SheetName() == sheetName) {
            return &row;
        }
    }
    return nullptr;
}

std::span<const FrameOverFill> FramesOverFills() { return kFramesOverFills; }

std::uint64_t SeedOfPath(std::string_view path) {
    // FNV-1a: the same path always gives the same seed.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (char c : path) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    }
    return hash;
}

std::string_view KindName(FileKind kind) {
    switch (kind) {
        case FileKind::Sheet: return "sheets";
        case FileKind::Font: return "font";
        case FileKind::Particle: return "particle texture";
        case FileKind::Path: return "paths";
        case FileKind::Collision: return "collision files";
        case FileKind::Icon: return "icon";
        case FileKind::Sound: return "sounds";
        case FileKind::GuiImage: return "GUI images";
        case FileKind::Skin: return "skins";
    }
    return "?";
}

}  // namespace AssetGen
