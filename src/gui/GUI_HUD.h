#pragma once

namespace Core {
class File;
}

namespace GUI {

// The screen-space layer of forms and controls drawn after the viewports.
// Until the GUI toolkit fills it in, it holds nothing and draws nothing.
class HUD {
public:
    // Becomes the one HUD.
    HUD();
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;
    ~HUD();

    // Null when no HUD lives.
    static HUD* GetInstance();

    void Render();
    // Empties the forms, controls and pending lists (every level change).
    void Clear();
    // The HUD's part of a saved game: with nothing in the HUD yet, nothing
    // is written or read.
    void WriteInformation(Core::File& file) const;
    void ReadInformation(Core::File& file);
};

}  // namespace GUI

// The HUD's per-frame update.
void UpdateHud(float dt);
