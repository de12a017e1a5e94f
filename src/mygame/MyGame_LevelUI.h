#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_FadingText.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_VendingMachine.h"
#include "mygame/MyGame_WepSelUI.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <memory>
#include <vector>

// The level-select machine of the title level: opened, it spreads three
// panels over a grid of numbered buttons for the stages unlocked so far, the
// chosen stage's title, terrain preview and enemy counts, the weapon panel
// and "Play". Choosing a stage only sets the profile's current stage; "Play"
// fades out to the stage.
class LevelUI : public VendingMachine {
    TUN_DECLARE_CLASS(LevelUI);
    // Info lines: terrain, ground, flying and rolling enemies.
    static constexpr std::size_t kInfoLines = 4;

    LevelUI();
    explicit LevelUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The machine's sprite part; no widgets or panels until its start.
    LevelUI(const LevelUI& other);
    ~LevelUI() override;

    // After the machine: the shown flag, the widgets it made and the level
    // objects it found (object references), its two panels and the preview
    // flag. A load gives the buttons their actions again.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Collapsed panels and every widget of the menu made hidden: a button
    // per stage up to the profile's highest, the info of its current stage.
    void OnStart() override;
    // The machine's step; then the menu follows its open flag one update
    // later, and the two panels take their step.
    void Update(float dt) override;
    // The machine's end, then the two panels' (once); the buttons no longer
    // reach this machine.
    void OnEnd() override;

    // Makes the stage (0..8) the profile's current one and shows its title
    // and info; any other index is refused.
    void SelectStage(std::uint32_t stage);
    // The title reads "Level " and the number text.
    void SetTitle(const Core::String& number);
    // The preview's terrain frame and the info lines of the current stage.
    void UpdateInfo();

    bool IsShown() const { return m_shown != 0; }
    bool IsPreviewPending() const { return m_previewPending != 0; }
    const std::vector<Core::RefPtr<LabeledButton>>& GetStageButtons() const { return m_stageButtons; }
    const std::vector<Core::RefPtr<FadingText>>& GetInfoTexts() const { return m_infoTexts; }
    CenteredText* GetHeading() const { return m_heading.Get(); }
    LabeledButton* GetPlayButton() const { return m_playButton.Get(); }
    CenteredText* GetTitle() const { return m_title.Get(); }
    Tundra::Sprite* GetPreview() const { return m_preview.Get(); }
    LabeledButton* GetCloseButton() const { return m_closeButton.Get(); }
    UiFrame* GetInfoFrame() const { return m_infoFrame.get(); }
    UiFrame* GetWeaponFrame() const { return m_weaponFrame.get(); }
    CenteredText* GetWeaponHeading() const { return m_weaponHeading.Get(); }
    WepSelUI* GetWeaponPanel() const { return m_weaponPanel.Get(); }

protected:
    // Read back open: the closed layout, the weapon panel closed.
    void EndMenuAfterLoad() override;

private:
    void MakeWidgets();
    void BindActions();
    void LayOutOpen();
    void LayOutClosed();
    void ForgetPanels();

    std::uint8_t m_shown = 0;
    // Held, so that a widget the level destroyed first is never named freed.
    std::vector<Core::RefPtr<LabeledButton>> m_stageButtons;
    std::vector<Core::RefPtr<FadingText>> m_infoTexts;
    Core::RefPtr<CenteredText> m_heading;
    Core::RefPtr<LabeledButton> m_playButton;
    Core::RefPtr<CenteredText> m_title;
    // The level's "LevelTile": three frames per terrain.
    Core::RefPtr<Tundra::Sprite> m_preview;
    Core::RefPtr<LabeledButton> m_closeButton;
    std::unique_ptr<UiFrame> m_infoFrame;
    std::unique_ptr<UiFrame> m_weaponFrame;
    Core::RefPtr<CenteredText> m_weaponHeading;
    // The level's "WepSelFrame".
    Core::RefPtr<WepSelUI> m_weaponPanel;
    std::uint8_t m_previewPending = 0;
};
