#include "gui/GUI_ImageRenderContext.h"

#include "gui/GUI_ImageEffect.h"

namespace GUI {

TUN_DEFINE_UNREGISTERED_CLASS(ImageRenderContext, "GUI::ImageRenderContext");

void ImageRenderContext::Reset() { *this = ImageRenderContext(); }

void ImageRenderContext::UpdateEffect() {
    if (auto* image = dynamic_cast<ImageEffect*>(effect.Get())) {
        image->filterSelector = filterSelector;
        image->UpdateStates();
    }
}

}  // namespace GUI
