#pragma once

#include "gui/GUI_SkinDescriptor.h"

#include <string_view>
#include <vector>

namespace GUI {

// The piece sets of the descriptor file "<skin base path>.gui" (an engine
// path). A missing or short file gives what its bytes hold entirely (none
// for a missing one); no more than the capped count is ever read.
std::vector<PieceSet> LoadSkinDescriptor(std::string_view skinBasePath);

}  // namespace GUI
