#include "mygame/MyGame_PathFollower.h"

void PathFollower::Advance(float, Vector2D&, Vector2D&) {}

void PathFollower::Save(Core::File&) const {}

void PathFollower::Load(Core::File&) {}
