#pragma once

#include "support/MyGame_TestContent.h"

#include <memory>

// What the play tests play: the intro's three logos; the title level's
// objects as the game's content names them, with the ground tiles and the
// seventeen templates; a stage with the tile templates and the templates.
// The cloud template is a Cloud, and the bullet template has a collision
// circle, so that clones show whether they got one.
namespace mygametest {

void AddPlayContent(TestContent& content);
std::unique_ptr<TestContent> MakePlayContent();

}  // namespace mygametest
