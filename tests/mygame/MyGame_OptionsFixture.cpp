#include "MyGame_OptionsFixture.h"

#include "mygame/MyGame.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <fstream>
#include <iterator>

namespace mygametest {

TUN_DEFINE_CLASS(OptionsPlayerHolder)

namespace {

// Where the content places the options machine.
const Vector2D kOptionsMachineAt{273.0f, 166.0f};

}  // namespace

void OptionsPlayerHolder::Update(float dt) {
    GameObject::Update(dt);
    if (auto* player = Tundra::FindObject<MenuPlayer>("Player")) {
        // Without its body the physics step leaves it where it is put.
        player->RemovePhysicalProperties();
        player->SetPosition(kOptionsMachineAt);
    }
}

template <class Base>
bool OptionsFixtureOn<Base>::EnterAtMachine() {
    if (!this->EnterTitle() || this->template Find<OptionsUI>("OptionsUI") == nullptr ||
        this->template Find<MenuPlayer>("Player") == nullptr) {
        return false;
    }
    this->Game().GetWorldLayer()->AddGameObject(TUN_NEW(OptionsPlayerHolder));
    Player().SetControlsOn(true);
    // The holder starts in the next frame and first runs in the one after.
    this->Step(2);
    return true;
}

template <class Base>
bool OptionsFixtureOn<Base>::OpenMenu() {
    if (!EnterAtMachine()) {
        return false;
    }
    TapOpenKey();
    // The page's buttons show at their first update.
    this->Step();
    return Machine().IsOpen();
}

template <class Base>
std::vector<LabeledButton*> OptionsFixtureOn<Base>::PageButtons() {
    std::vector<LabeledButton*> buttons;
    for (std::size_t slot = 0; slot < OptionsUI::kSlotCount; ++slot) {
        buttons.push_back(Machine().GetPageButton(slot));
    }
    return buttons;
}

template <class Base>
std::string OptionsFixtureOn<Base>::Label(std::size_t slot) {
    const LabeledButton* button = Machine().GetPageButton(slot);
    return button != nullptr && button->GetLabel() != nullptr ? std::string(button->GetLabel()->GetText()) : "";
}

template <class Base>
std::vector<std::string> OptionsFixtureOn<Base>::Labels() {
    std::vector<std::string> labels;
    for (std::size_t slot = 0; slot < OptionsUI::kSlotCount; ++slot) {
        labels.push_back(Label(slot));
    }
    return labels;
}

template <class Base>
bool OptionsFixtureOn<Base>::SaveAndLoad() {
    MyGame& game = this->Game();
    game.RequestSave("options");
    this->Step();
    const Tundra::Level* before = game.GetCurrentLevel();
    game.RequestLoad("options");
    this->Step();
    return game.GetCurrentLevel() != before && this->template Find<OptionsUI>("OptionsUI") != nullptr;
}

template <class Base>
std::string OptionsFixtureOn<Base>::ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template class OptionsFixtureOn<WidgetTest>;
template class OptionsFixtureOn<WidgetPixelTest>;

}  // namespace mygametest
