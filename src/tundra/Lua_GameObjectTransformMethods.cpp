#include "tundra/Lua_GameObjectBindings.h"

namespace Lua::GameObjectScript {
namespace {

int PushNumber(lua_State* state, float value) {
    PushFloat(state, value);
    return 1;
}

// Changes one channel of the modulation colour.
template <float Color::*Channel>
int SetModulationChannel(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        Color color = self.GetModulationColor();
        color.*Channel = GetFloat(state, 1);
        self.SetModulationColor(color);
    }
    return 0;
}

}  // namespace

int GetDirectionX(Tundra::GameObject& self, lua_State* state) { return PushNumber(state, self.GetDirection().x); }

int GetDirectionY(Tundra::GameObject& self, lua_State* state) { return PushNumber(state, self.GetDirection().y); }

// (x, y) as two numbers or as one vector table, as GetScale gives it.
int SetScale(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) == 1) {
        const Vector2D scale = GetVector2D(state, 1);
        self.SetScale(scale.x, scale.y);
    } else if (ArgumentCount(state) >= 2) {
        self.SetScale(GetFloat(state, 1), GetFloat(state, 2));
    }
    return 0;
}

int GetScale(Tundra::GameObject& self, lua_State* state) {
    PushVector2D(state, self.GetScaleX(), self.GetScaleY());
    return 1;
}

int GetCenterX(Tundra::GameObject& self, lua_State* state) { return PushNumber(state, self.GetCenter().x); }

int GetCenterY(Tundra::GameObject& self, lua_State* state) { return PushNumber(state, self.GetCenter().y); }

int SetModulationR(Tundra::GameObject& self, lua_State* state) {
    return SetModulationChannel<&Color::r>(self, state);
}

int SetModulationG(Tundra::GameObject& self, lua_State* state) {
    return SetModulationChannel<&Color::g>(self, state);
}

int SetModulationB(Tundra::GameObject& self, lua_State* state) {
    return SetModulationChannel<&Color::b>(self, state);
}

int GetModulationR(Tundra::GameObject& self, lua_State* state) {
    return PushNumber(state, self.GetModulationColor().r);
}

int GetModulationG(Tundra::GameObject& self, lua_State* state) {
    return PushNumber(state, self.GetModulationColor().g);
}

int GetModulationB(Tundra::GameObject& self, lua_State* state) {
    return PushNumber(state, self.GetModulationColor().b);
}

}  // namespace Lua::GameObjectScript
