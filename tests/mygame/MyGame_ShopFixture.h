#pragma once

#include "mygame/MyGame.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_ShopUI.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The title level's shop with the player standing at it (put back there
// before every frame: the title drops it), the cursor parked off every
// widget.
namespace mygametest {

template <class Base>
class ShopFixtureOf : public Base {
protected:
    template <class T>
    using Held = ShopUI::Held<T>;

    // Enters the title level; a pixel test writes its sheets first.
    void EnterShop() {
        ASSERT_TRUE(this->EnterTitle());
        FindShop();
        PointAt(kParked);
        Frames(1);
    }

    // The running level's shop and player (again after a load).
    void FindShop() {
        m_shop = this->template Find<ShopUI>("ShopUI");
        m_player = this->template Find<MenuPlayer>("Player");
        ASSERT_NE(m_shop, nullptr);
        ASSERT_NE(m_player, nullptr);
    }

    void Frames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            m_player->SetPositionXY(m_shop->GetPositionX(), m_shop->GetPositionY());
            this->Step();
        }
    }

    // X for one frame, the player's controls on when the shop is closed.
    void PressX() {
        if (!m_shop->IsOpen()) {
            m_player->SetControlsOn(true);
        }
        this->HoldKey('X', true);
        Frames(1);
        this->HoldKey('X', false);
    }

    void Open() {
        PressX();
        ASSERT_TRUE(m_shop->IsOpen());
    }

    // Opened, its tabs in, then the tab's page.
    void OpenOnTab(std::size_t tab) {
        Open();
        Frames(1);
        ASSERT_LT(tab, m_shop->GetTabs().size());
        if (tab != 0) {
            Click(m_shop->GetTabs()[tab]->GetPosition());
        }
        ASSERT_EQ(m_shop->GetCurrentPage(), static_cast<std::int32_t>(tab));
    }

    // Once the buttons have faded in (none takes a press before), over the
    // point, down, up; the cursor is parked again after.
    void Click(const Vector2D& hudPoint) {
        ASSERT_TRUE(StepUntilButtonsShown([this] { Frames(1); }));
        PointAt(hudPoint);
        Frames(1);
        HoldLeftButton(true);
        Frames(1);
        HoldLeftButton(false);
        Frames(1);
        PointAt(kParked);
        Frames(1);
    }

    PlayerProfile& Profile() { return this->Game().GetProfile(); }

    std::string ProfileFileBytes() const {
        std::ifstream file(this->DataFolder() + "/profile.sav", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    PlayerProfile SavedProfile() const { return ParseProfile(ProfileFileBytes()).profile; }

    template <class T>
    static std::vector<std::string> Texts(const Held<T>& texts) {
        std::vector<std::string> words;
        for (const Core::RefPtr<T>& text : texts) {
            words.emplace_back(text->GetText().c_str());
        }
        return words;
    }
    static std::vector<float> Channels(const Color& colour) { return {colour.r, colour.g, colour.b, colour.a}; }
    std::vector<std::string> ButtonLabels() const {
        std::vector<std::string> labels;
        for (const Core::RefPtr<LabeledButton>& button : m_shop->GetActionButtons()) {
            labels.emplace_back(button->GetLabel()->GetText().c_str());
        }
        return labels;
    }
    std::vector<int> CapsuleFrames() const {
        std::vector<int> frames;
        for (const Core::RefPtr<Tundra::Sprite>& capsule : m_shop->GetCapsules()) {
            frames.push_back(capsule->GetCurrentFrameIndex());
        }
        return frames;
    }

    ShopUI& Shop() const { return *m_shop; }
    MenuPlayer& Player() const { return *m_player; }

    // Below the panel, clear of tabs and buttons.
    static inline const Vector2D kParked{0.0f, -360.0f};

private:
    ShopUI* m_shop = nullptr;
    MenuPlayer* m_player = nullptr;
};

// Logic, headless.
class ShopFixture : public ShopFixtureOf<WidgetTest> {
protected:
    void SetUp() override {
        ShopFixtureOf<WidgetTest>::SetUp();
        EnterShop();
    }
};

}  // namespace mygametest
