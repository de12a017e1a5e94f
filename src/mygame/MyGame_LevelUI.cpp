#include "mygame/MyGame_LevelUI.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

#include <array>

TUN_DEFINE_CLASS(LevelUI)

namespace {

// The three panels collapsed to a point, and spread when open.
constexpr UiFrameRect kMachineClosed{212.0f, -232.0f, 212.0f, -232.0f, 0.0f};
constexpr UiFrameRect kInfoClosed{243.0f, -233.0f, 243.0f, -233.0f, 0.0f};
constexpr UiFrameRect kWeaponClosed{243.0f, -215.0f, 243.0f, -215.0f, 0.0f};
constexpr UiFrameRect kMachineOpen{-336.0f, 275.0f, 113.0f, -283.0f, 1.0f};
constexpr UiFrameRect kInfoOpen{140.0f, 35.0f, 495.0f, -284.0f, 1.0f};
constexpr UiFrameRect kWeaponOpen{247.0f, 300.0f, 489.0f, 182.0f, 1.0f};

// The stage grid: three to a row, 150 apart, from the top-left button.
constexpr std::uint32_t kGridColumns = 3;
constexpr float kGridStep = 150.0f;
const Vector2D kFirstStage{-262.0f, 166.0f};
constexpr int kStageAnimation = 2;

const Vector2D kHeadingAt{-112.0f, 246.0f};
const Vector2D kPlayAt{323.0f, -244.0f};
const Vector2D kCloseAt{98.0f, 261.0f};
constexpr int kPlayAnimation = 0;
constexpr int kCloseAnimation = 1;
const Vector2D kTitleAt{318.0f, 13.0f};
const Vector2D kWeaponHeadingAt{398.0f, 285.0f};
constexpr float kWeaponHeadingScale = 0.667f;
const Vector2D kPreviewAt{352.0f, -42.0f};
const Vector2D kWeaponPanelAt{368.0f, 246.0f};
// Info lines stand 45 apart below this height.
constexpr float kInfoX = 153.0f;
constexpr float kInfoTop = -9.0f;
constexpr float kInfoStep = 45.0f;
// The preview sheet holds three frames per terrain.
constexpr std::int32_t kFramesPerTerrain = 3;
constexpr std::uint32_t kGameLevel = 2;

template <class Widget>
Core::RefPtr<Widget> MadeHidden(Widget* widget) {
    if (widget != nullptr) {
        widget->SetVisible(false);
    }
    return Core::RefPtr<Widget>(widget);
}

Core::String TitleOf(const Core::String& number) { return Core::String("Level ") + number; }

void StartGameLevel() {
    if (auto* fade = Tundra::FindObject<FadeTransition>("FadeTransition")) {
        fade->FadeToLevel(kGameLevel);
    }
}

}  // namespace

LevelUI::LevelUI() = default;

LevelUI::LevelUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : VendingMachine(animations) {}

LevelUI::LevelUI(const LevelUI& other) : VendingMachine(other) {}

LevelUI::~LevelUI() = default;

void LevelUI::Save(Core::File& file) const {
    VendingMachine::Save(file);
    file.WriteU8(m_shown);
    WriteLinks(file, m_stageButtons);
    WriteLinks(file, m_infoTexts);
    file << m_heading;
    file << m_playButton;
    file << m_title;
    file << m_preview;
    file << m_closeButton;
    SaveOptionalFrame(file, m_infoFrame.get());
    SaveOptionalFrame(file, m_weaponFrame.get());
    file << m_weaponHeading;
    file << m_weaponPanel;
    file.WriteU8(m_previewPending);
}

void LevelUI::Load(Core::File& file) {
    VendingMachine::Load(file);
    if (file.HasFailed()) {
        return;
    }
    std::uint8_t shown = m_shown;
    std::vector<Core::RefPtr<LabeledButton>> stageButtons;
    std::vector<Core::RefPtr<FadingText>> infoTexts;
    std::uint8_t previewPending = m_previewPending;
    ReadFlagByte(file, shown);
    ReadLinks(file, kStageCount, stageButtons);
    ReadLinks(file, kInfoLines, infoTexts);
    Core::RefPtr<CenteredText> heading;
    ReadLink(file, heading);
    Core::RefPtr<LabeledButton> playButton;
    ReadLink(file, playButton);
    Core::RefPtr<CenteredText> title;
    ReadLink(file, title);
    Core::RefPtr<Tundra::Sprite> preview;
    ReadLink(file, preview);
    Core::RefPtr<LabeledButton> closeButton;
    ReadLink(file, closeButton);
    std::unique_ptr<UiFrame> infoFrame = ReadOptionalFrame(file);
    std::unique_ptr<UiFrame> weaponFrame = ReadOptionalFrame(file);
    Core::RefPtr<CenteredText> weaponHeading;
    ReadLink(file, weaponHeading);
    Core::RefPtr<WepSelUI> weaponPanel;
    ReadLink(file, weaponPanel);
    ReadFlagByte(file, previewPending);
    if (file.HasFailed()) {
        return;
    }
    m_shown = shown;
    m_stageButtons = std::move(stageButtons);
    m_infoTexts = std::move(infoTexts);
    m_heading = heading;
    m_playButton = playButton;
    m_title = title;
    m_preview = preview;
    m_closeButton = closeButton;
    m_infoFrame = std::move(infoFrame);
    m_weaponFrame = std::move(weaponFrame);
    m_weaponHeading = weaponHeading;
    m_weaponPanel = weaponPanel;
    m_previewPending = previewPending;
    // Actions are not streamed; each button's is known by its place.
    BindActions();
}

void LevelUI::OnStart() {
    VendingMachine::OnStart();
    if (UiFrame* frame = GetFrame()) {
        frame->SetRect(kMachineClosed);
    }
    ForgetPanels();
    m_infoFrame = MakeUiFrame(kInfoClosed);
    m_weaponFrame = MakeUiFrame(kWeaponClosed);
    m_weaponPanel = Tundra::FindObject<WepSelUI>("WepSelFrame");
    m_preview = Tundra::FindObject<Tundra::Sprite>("LevelTile");
    if (m_preview) {
        m_preview->SetOldPosition(kPreviewAt);
        m_preview->SetPosition(kPreviewAt);
        m_preview->SetVisible(false);
    }
    m_shown = 0;
    MakeWidgets();
    BindActions();
    m_previewPending = 0;
}

void LevelUI::MakeWidgets() {
    m_heading = MadeHidden(CreateCenteredText(kHeadingAt, "Levels"));
    m_playButton = MadeHidden(MakeLabeledButton(kPlayAt, "Play", kPlayAnimation, nullptr));
    m_stageButtons.clear();
    const MyGame* game = GetGame();
    const std::uint32_t highest = game != nullptr ? game->GetProfile().highestStage : 0;
    for (std::uint32_t stage = 0; stage <= highest && stage < kStageCount; ++stage) {
        const Vector2D at(kFirstStage.x + kGridStep * static_cast<float>(stage % kGridColumns),
                          kFirstStage.y - kGridStep * static_cast<float>(stage / kGridColumns));
        if (LabeledButton* button = MakeLabeledButton(at, Core::ToString(stage + 1), kStageAnimation, nullptr)) {
            m_stageButtons.push_back(MadeHidden(button));
        }
    }
    m_infoTexts.clear();
    for (std::size_t line = 1; line <= kInfoLines; ++line) {
        if (FadingText* text = CreateFadingText(kInfoX, kInfoTop - kInfoStep * static_cast<float>(line), "")) {
            m_infoTexts.push_back(MadeHidden(text));
        }
    }
    m_closeButton = MadeHidden(MakeLabeledButton(kCloseAt, "X", kCloseAnimation, nullptr));
    UpdateInfo();
    const std::uint32_t stage = game != nullptr ? game->GetProfile().currentStage : 0;
    m_title = MadeHidden(CreateCenteredText(kTitleAt, TitleOf(Core::ToString(stage + 1))));
    m_weaponHeading = MadeHidden(CreateCenteredText(kWeaponHeadingAt, "Weapon Select\n  L:               R:"));
    if (m_weaponHeading) {
        m_weaponHeading->SetScale(kWeaponHeadingScale, kWeaponHeadingScale);
    }
}

void LevelUI::BindActions() {
    for (std::size_t i = 0; i < m_stageButtons.size(); ++i) {
        const auto stage = static_cast<std::uint32_t>(i);
        m_stageButtons[i]->SetClickCallback([this, stage] { SelectStage(stage); });
    }
    if (m_playButton) {
        m_playButton->SetClickCallback(&StartGameLevel);
    }
    if (m_closeButton) {
        m_closeButton->SetClickCallback([this] { CloseMenu(); });
    }
}

void LevelUI::Update(float dt) {
    VendingMachine::Update(dt);
    if (IsOpen()) {
        if (m_preview) {
            if (m_previewPending != 0) {
                m_preview->SetVisible(true);
            }
            m_preview->SetOpacity(FadedInOpacity(m_preview->GetOpacity(), dt));
        }
        m_previewPending = 0;
    }
    if (IsOpen() && m_shown == 0) {
        LayOutOpen();
    } else if (!IsOpen() && m_shown != 0) {
        LayOutClosed();
    }
    if (m_infoFrame) {
        m_infoFrame->Animate(dt);
    }
    if (m_weaponFrame) {
        m_weaponFrame->Animate(dt);
    }
}

void LevelUI::LayOutOpen() {
    TargetFrame(GetFrame(), kMachineOpen);
    TargetFrame(m_infoFrame.get(), kInfoOpen);
    TargetFrame(m_weaponFrame.get(), kWeaponOpen);
    EnterLate(m_weaponHeading.Get());
    if (m_weaponPanel) {
        m_weaponPanel->Open(kWeaponPanelAt.x, kWeaponPanelAt.y);
    }
    EnterLate(m_heading.Get());
    EnterLate(m_title.Get());
    if (m_preview) {
        // Shown by this menu's next update: a plain sprite has no pending show.
        m_preview->SetOpacity(-3.0f);
        m_preview->SetVisible(false);
    }
    m_previewPending = 1;
    EnterLate(m_playButton.Get());
    EnterLate(m_closeButton.Get());
    for (const Core::RefPtr<LabeledButton>& button : m_stageButtons) {
        EnterLate(button.Get());
    }
    for (const Core::RefPtr<FadingText>& text : m_infoTexts) {
        EnterLate(text.Get());
    }
    m_shown = 1;
}

void LevelUI::LayOutClosed() {
    TargetFrame(GetFrame(), kMachineClosed);
    TargetFrame(m_infoFrame.get(), kInfoClosed);
    TargetFrame(m_weaponFrame.get(), kWeaponClosed);
    PutAway(m_weaponHeading.Get());
    PutAway(m_heading.Get());
    if (m_preview) {
        m_preview->SetVisible(false);
    }
    m_previewPending = 0;
    PutAway(m_title.Get());
    if (m_weaponPanel) {
        m_weaponPanel->Close();
    }
    PutAway(m_playButton.Get());
    PutAway(m_closeButton.Get());
    for (const Core::RefPtr<LabeledButton>& button : m_stageButtons) {
        PutAway(button.Get());
    }
    for (const Core::RefPtr<FadingText>& text : m_infoTexts) {
        PutAway(text.Get());
    }
    m_shown = 0;
}

void LevelUI::EndMenuAfterLoad() { LayOutClosed(); }

void LevelUI::OnEnd() {
    VendingMachine::OnEnd();
    ForgetPanels();
    // The buttons may outlive this machine in their layer.
    for (const Core::RefPtr<LabeledButton>& button : m_stageButtons) {
        button->SetClickCallback(nullptr);
    }
    if (m_closeButton) {
        m_closeButton->SetClickCallback(nullptr);
    }
}

void LevelUI::ForgetPanels() {
    for (std::unique_ptr<UiFrame>* frame : {&m_infoFrame, &m_weaponFrame}) {
        if (*frame) {
            (*frame)->Destroy();
            frame->reset();
        }
    }
}

void LevelUI::SelectStage(std::uint32_t stage) {
    MyGame* game = GetGame();
    if (game == nullptr || stage >= kStageCount) {
        return;
    }
    game->GetProfile().currentStage = static_cast<std::uint8_t>(stage);
    SetTitle(Core::ToString(stage + 1));
    UpdateInfo();
}

void LevelUI::SetTitle(const Core::String& number) {
    if (m_title) {
        m_title->SetText(TitleOf(number));
    }
}

void LevelUI::UpdateInfo() {
    const MyGame* game = GetGame();
    if (game == nullptr) {
        return;
    }
    const LevelInfo& info = GetLevelInfo(game->GetProfile().currentStage);
    if (m_preview) {
        m_preview->SetCurrentFrameIndex(info.Theme() * kFramesPerTerrain, false);
    }
    const std::array<Core::String, kInfoLines> lines{
        "Terrain: ",
        Core::String("Ground Enemies: ") + Core::ToString(info[LevelInfo::kGroundEnemies]),
        Core::String("Flying Enemies: ") + Core::ToString(info[LevelInfo::kFlyingEnemies]),
        Core::String("Rolling Enemies: ") + Core::ToString(info[LevelInfo::kRollingSpikes]),
    };
    for (std::size_t i = 0; i < m_infoTexts.size(); ++i) {
        m_infoTexts[i]->SetText(lines[i]);
    }
}
