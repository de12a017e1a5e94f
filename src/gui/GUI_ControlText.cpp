#include "gui/GUI_ControlText.h"

#include "gui/GUI_Control.h"
#include "gui/GUI_Graphics.h"
#include "gui/GUI_StringRenderContext.h"

namespace GUI {

void DrawControlText(const Control& control, const Vector2D& origin, const NRectangle& clip, const Color& color) {
    Graphics* graphics = Graphics::GetInstance();
    const Core::RefPtr<Engine::StringRenderContext> text(control.GetTextRenderer());
    if (control.GetText().empty() || control.GetFont() == nullptr || graphics == nullptr || !text) {
        return;
    }
    graphics->Reset();
    graphics->SetClip(clip);
    graphics->SetColor(color);
    graphics->SetOpacity(control.GetEffectiveOpacity());
    graphics->SetDepth(control.GetDepth() + 0.1f);
    graphics->DrawText(*text, origin, control.GetText(), control.GetFont());
    Graphics::SubmitText(text);
}

}  // namespace GUI
