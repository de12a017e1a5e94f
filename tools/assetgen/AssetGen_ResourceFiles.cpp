#include "AssetGen_BitmapFont.h"
#include "AssetGen_Files.h"
#include "AssetGen_GameIcon.h"
#include "AssetGen_LayerCollisions.h"
#include "AssetGen_ParticleTexture.h"
#include "AssetGen_PathFiles.h"

namespace AssetGen {
namespace {

constexpr FileArt kResourceFiles[] = {
    {"Fonts/DefaultFont/DefaultFont.png", BitmapFont::WriteImage},
    {"Fonts/DefaultFont/DefaultFont.tbf", BitmapFont::WriteMetrics},
    {"ParticleSystems/Particle_Texture.png", ParticleTexture::Write},
    {"Paths/TitleSun_SunStartPath", PathFiles::Write},
    {"Paths/TitleSun_SunEndPath", PathFiles::Write},
    {"Paths/FlyingRangedEnemy_path1", PathFiles::Write},
    {"Paths/FlyingRangedEnemy_path2", PathFiles::Write},
    {"Paths/FlyingRangedEnemy_path3", PathFiles::Write},
    {"Layers Collisions/level0_layer0.txt", LayerCollisions::Write},
    {"Layers Collisions/level0_layer1.txt", LayerCollisions::Write},
    {"Layers Collisions/level0_layer2.txt", LayerCollisions::Write},
    {"Layers Collisions/level1_layer0.txt", LayerCollisions::Write},
    {"Layers Collisions/level1_layer1.txt", LayerCollisions::Write},
    {"Layers Collisions/level1_layer2.txt", LayerCollisions::Write},
    {"Layers Collisions/level2_layer0.txt", LayerCollisions::Write},
    {"Layers Collisions/level2_layer1.txt", LayerCollisions::Write},
    {"Layers Collisions/level2_layer2.txt", LayerCollisions::Write},
    {"GameIcon/GameIcon.ico", GameIcon::Write},
};

}  // namespace

std::span<const FileArt> ResourceFiles() { return kResourceFiles; }

}  // namespace AssetGen
