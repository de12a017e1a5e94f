#pragma once

#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_FadeStep.h"

#include <algorithm>
#include <cstdint>

namespace Input {
class Mouse;
}
namespace Tundra {
class GameObject;
}

// What the game's own menu widgets share: the HUD's origin, the mouse they
// follow and the delayed fade-in every menu element enters with.

// The HUD layers place objects around the centre of the 1024 x 768 screen;
// the mouse counts client pixels from the bottom-left corner.
inline const Vector2D kHudCentre{512.0f, 384.0f};

// The game's mouse; null without a game or device.
const Input::Mouse* MenuMouse();

// One update of the fade toward full opacity: a widget set to -3 stays
// invisible for about a quarter of a second, then fades in.
inline float FadedInOpacity(float opacity, float dt) { return FadeStep(opacity, 1.0f, dt, 5.0f); }

// The fade only nears full opacity: from half of it on a widget counts as
// shown and takes presses. A page opened by a click is still fainter when
// that click's double comes (0.28 s from -1, 0.42 s from -3), and a button
// a player can plainly see answers at once.
inline bool IsFadedIn(float opacity) { return opacity >= 0.5f; }

// A bar's tint for the share it shows: red at 0, yellow at a half, green
// from 1 on.
inline Color RedToGreen(float share) {
    return {std::min(2.0f * (1.0f - share), 1.0f), std::min(2.0f * share, 1.0f), 0.0f, 1.0f};
}

// The delayed fade-in's entrance: hidden now, shown by the widget's next
// update, then fading in from -3.
template <class Widget>
void EnterLate(Widget* widget) {
    if (widget != nullptr) {
        widget->SetOpacity(-3.0f);
        widget->SetVisible(false);
        widget->SetShowPending(true);
    }
}

// Hidden for good: a show still pending would bring it back.
template <class Widget>
void PutAway(Widget* widget) {
    if (widget != nullptr) {
        widget->SetVisible(false);
        widget->SetShowPending(false);
    }
}

// A menu text's update: one step of the fade-in, then a pending show shows
// the object and clears the flag.
void FadeInAndShowPending(Tundra::GameObject& object, std::uint8_t& showPending, float dt);
