#include "mygame/MyGame_ShopUI.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_WidgetClone.h"
#include "mygame/MyGame_ShopPrices.h"
#include "tundra/Tundra_FindObject.h"

TUN_DEFINE_CLASS(ShopUI)

namespace {

// The machine's panel at start (a line turned inside out), folded to a point
// below the machine, and opened.
constexpr UiFrameRect kPanelAtStart{29.0f, -218.0f, -29.0f, -218.0f, 0.0f};
constexpr UiFrameRect kPanelFolded{29.0f, -218.0f, 29.0f, -218.0f, 0.0f};
constexpr UiFrameRect kPanelOpen{-256.0f, 275.0f, 193.0f, -283.0f, 1.0f};
// The weapon-selection frame beside it.
constexpr UiFrameRect kSideFolded{29.0f, -219.0f, 29.0f, -219.0f, 0.0f};
constexpr UiFrameRect kSideOpen{247.0f, 300.0f, 489.0f, 182.0f, 1.0f};
const Vector2D kWeaponPanelAt{368.0f, 246.0f};

// The tabs stand on the panel's left edge, downward from this height with
// this gap.
constexpr float kTabX = -327.0f;
constexpr int kTabTop = 221;
constexpr int kTabGap = 12;

const Vector2D kCloseButtonAt{178.0f, 261.0f};
constexpr int kCloseButtonAnimation = 1;
const Vector2D kTitleAt{398.0f, 285.0f};
constexpr const char* kTitle = "Weapon Select\n  L:               R:";
constexpr float kTitleScale = 0.667f;

}  // namespace

ShopUI::ShopUI() = default;

ShopUI::ShopUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : VendingMachine(animations) {}

ShopUI::ShopUI(const ShopUI& other) : VendingMachine(other) {}

ShopUI::~ShopUI() = default;

std::uint32_t ShopUI::ItemBitOfPage(std::int32_t page) {
    if (page == 0) {
        return kHealthBit;
    }
    return page > 0 && page < static_cast<std::int32_t>(kPageCount) ? 1u << (page - 1) : 0u;
}

void ShopUI::OnStart() {
    VendingMachine::OnStart();
    if (UiFrame* frame = GetFrame()) {
        frame->SetRect(kPanelAtStart);
    }
    if (m_secondFrame) {
        m_secondFrame->Destroy();
    }
    m_secondFrame = MakeUiFrame(kSideFolded);
    m_weaponPanel = Tundra::FindObject<WepSelUI>("WepSelFrame");
    m_shown = 0;
    m_rebuildRequested = 0;
    m_pageBuilt = 0;
    MakeTabs();
    m_closeButton = MakeLabeledButton(kCloseButtonAt, "X", kCloseButtonAnimation, [this] { CloseMenu(); });
    if (m_closeButton) {
        m_closeButton->SetVisible(false);
    }
    if (!m_tabs.empty()) {
        m_tabs[0]->SetSelected(true);
    }
    m_currentPage = kNoPage;
    m_titleText = CreateCenteredText(kTitleAt, kTitle);
    if (m_titleText) {
        m_titleText->SetScale(kTitleScale, kTitleScale);
        m_titleText->SetVisible(false);
    }
}

void ShopUI::MakeTabs() {
    int y = kTabTop;
    for (std::size_t page = 0; page < kPageCount; ++page) {
        ShopTabs* tab = CloneNamedToHud<ShopTabs>("ShopTabs");
        if (tab == nullptr) {
            return;
        }
        m_tabs.emplace_back(tab);
        const int animation = static_cast<int>(page);
        tab->SetCurrentAnimationIndex(animation, false);
        y -= tab->GetFrameHeight(animation) + kTabGap;
        const Vector2D at{kTabX, static_cast<float>(y)};
        tab->SetOldPosition(at);
        tab->SetPosition(at);
        tab->SetVisible(false);
        tab->SetSelected(false);
    }
}

void ShopUI::Update(float dt) {
    VendingMachine::Update(dt);
    if (IsOpen() && m_shown == 0) {
        ShowMenu();
    } else if (!IsOpen() && m_shown != 0) {
        HideMenu();
    }
    if (IsOpen()) {
        FollowSelectedTab();
        if (m_rebuildRequested != 0) {
            ClearPage();
            m_rebuildRequested = 0;
            m_pageBuilt = 0;
        }
        if (m_pageBuilt == 0) {
            BuildPage();
        }
        for (const Core::RefPtr<Tundra::Sprite>& capsule : m_capsules) {
            capsule->SetOpacity(FadedInOpacity(capsule->GetOpacity(), dt));
        }
    }
    if (m_secondFrame) {
        m_secondFrame->Animate(dt);
    }
}

void ShopUI::ShowMenu() {
    TargetFrame(GetFrame(), kPanelOpen);
    TargetFrame(m_secondFrame.get(), kSideOpen);
    EnterLate(m_titleText.Get());
    if (m_weaponPanel) {
        m_weaponPanel->Open(kWeaponPanelAt.x, kWeaponPanelAt.y);
    }
    EnterLate(m_closeButton.Get());
    m_shown = 1;
    for (const Core::RefPtr<ShopTabs>& tab : m_tabs) {
        EnterLate(tab.Get());
    }
}

// The tabs keep their selected flags: the shop reopens on the last page.
void ShopUI::HideMenu() {
    TargetFrame(GetFrame(), kPanelFolded);
    if (m_closeButton) {
        m_closeButton->SetVisible(false);
    }
    if (m_titleText) {
        m_titleText->SetVisible(false);
    }
    TargetFrame(m_secondFrame.get(), kSideFolded);
    if (m_weaponPanel) {
        m_weaponPanel->Close();
    }
    m_shown = 0;
    for (const Core::RefPtr<ShopTabs>& tab : m_tabs) {
        tab->SetVisible(false);
    }
    m_currentPage = kNoPage;
    ClearPage();
}

// A newly selected tab becomes the page; the tab of the page it replaces is
// deselected.
void ShopUI::FollowSelectedTab() {
    for (std::size_t i = 0; i < m_tabs.size(); ++i) {
        const auto page = static_cast<std::int32_t>(i);
        if (!m_tabs[i]->IsSelected() || page == m_currentPage) {
            continue;
        }
        if (m_currentPage != kNoPage && static_cast<std::size_t>(m_currentPage) < m_tabs.size()) {
            ShopTabs& previous = *m_tabs[static_cast<std::size_t>(m_currentPage)];
            previous.SetSelected(false);
            previous.SetCurrentFrameIndex(ShopTabs::kNormalFrame, false);
        }
        m_currentPage = page;
        m_rebuildRequested = 1;
    }
}

// What a load brought back of an open menu has no callbacks: it goes, and
// the shop folds as if closed.
void ShopUI::EndMenuAfterLoad() {
    HideMenu();
}

void ShopUI::OnEnd() {
    VendingMachine::OnEnd();
    ClearPage();
    if (m_closeButton) {
        const Core::RefPtr<LabeledButton> button = std::move(m_closeButton);
        button->Destroy();
    }
    if (m_secondFrame) {
        m_secondFrame->Destroy();
        m_secondFrame.reset();
    }
}
