#pragma once

#include "core/Core_RefPtr.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_GuiImage.h"

#include <cstdint>
#include <string_view>

namespace Core {
class File;
}

namespace GUI {

// Whether the HUD is reading a stream: widgets built then are empty shells
// that their Load fills.
bool IsHudLoading();

// A control drawn as one skin image (the button, the radio button). The
// image follows the control: its absolute position, size, visibility,
// colour and effective opacity; a new skin keeps the image's look. A control
// without an image (a shell whose stream held none) draws nothing.
//
// While it is not enabled with its ancestors it raises none of its events
// but the size change (and the never raised list 12).
class SkinnedControl : public Control {
public:
    void FireClick() override;
    void FireEvent2() override;
    void FireEvent3() override;
    void FireEvent4() override;
    void FireEvent5() override;
    void FireEvent6() override;
    void FireEvent7() override;
    void FireEvent8() override;
    void FireEvent9(const MouseEventRecord& event) override;
    void FireEvent10(const MouseEventRecord& event) override;
    void FireMouseDown(const MouseEventRecord& event) override;
    void SetPosition(const Vector2D& position) override;
    void SetVisible(bool visible) override;
    void SetModulationColor(const Color& color) override;
    void FireEvent13() override;
    void OnSkinChanged() override;
    void UpdatePosition() override;
    void OnOpacityChanged() override;

    GuiImage* GetSkinImage() const { return m_skinImage.Get(); }

protected:
    SkinnedControl() = default;

    // A new image of the named skin and size at the control's absolute position.
    void MakeSkinImage(std::string_view skinName, const Vector2D& size);
    // Ignored without an image or for a piece set the skin does not have.
    void ShowPieceSet(std::uint32_t index);
    // At the control's depth, clipped as the control draws.
    void DrawSkin();
    void WriteSkinImage(Core::File& file) const;
    // The image read, or null; an object of another class fails the stream.
    static Core::RefPtr<GuiImage> ReadSkinImage(Core::File& file);
    void SetSkinImage(const Core::RefPtr<GuiImage>& image) { m_skinImage = image; }

private:
    Core::RefPtr<GuiImage> m_skinImage;
};

}  // namespace GUI
