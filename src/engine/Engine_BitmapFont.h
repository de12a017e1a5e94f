#pragma once

#include "core/Core_Object.h"

namespace Engine {

// A font image with its character metrics, loaded once and shared through
// the font cache; fonts are counted and go with their last holder.
class BitmapFont : public Core::Object {};

}  // namespace Engine
