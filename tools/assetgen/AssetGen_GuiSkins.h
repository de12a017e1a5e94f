#pragma once

#include <cairo.h>

#include <vector>

#include "gui/GUI_SkinDescriptor.h"

// The GUI toolkit's three default skins: each a texture of piece-set areas
// and the descriptor that cuts it, both made from one layout so that they
// cannot disagree.
namespace AssetGen {

enum class GuiSkin { Form, Button, RadioButton };

struct SkinTexture {
    int width;  // powers of two: the skins are drawn unfiltered, unscaled
    int height;
};

SkinTexture TextureOfSkin(GuiSkin skin);

// The skin's piece sets in the order its widget selects them; y counts from
// the texture's bottom edge.
std::vector<GUI::PieceSet> PieceSetsOfSkin(GuiSkin skin);

// Draws the skin's texture; the context's origin is the image's top-left
// corner, y down, one unit per pixel.
void DrawSkinTexture(cairo_t* cr, GuiSkin skin);

}  // namespace AssetGen
