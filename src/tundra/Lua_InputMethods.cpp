#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_MethodTable.h"

namespace Lua {
namespace {

using Input::KeyboardImp;
using Input::MouseImp;

// The answer about one numbered item (a button, a key id).
template <class T, auto Query>
int AnswerFor(T& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushResult(state, (self.*Query)(GetInt(state, 1)));
    return 1;
}

// The found key id follows true; false stands alone.
template <bool (KeyboardImp::*Find)(int*) const>
int FindKey(KeyboardImp& self, lua_State* state) {
    int keyId = 0;
    const bool found = (self.*Find)(&keyId);
    PushBool(state, found);
    if (!found) {
        return 1;
    }
    PushInt(state, keyId);
    return 2;
}

// The character code, 0 for a key that types none.
int GetKeyAsChar(KeyboardImp& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushInt(state, static_cast<unsigned char>(self.GetKeyAsChar(GetInt(state, 1))));
    return 1;
}

const MethodTable& MouseMethods() {
    static const MethodTable table{
        MouseImp::kScriptName,
        {
            BindGetter<MouseImp, &MouseImp::GetPosition>("GetPosition"),
            BindGetter<MouseImp, &MouseImp::GetPositionX>("GetPositionX"),
            BindGetter<MouseImp, &MouseImp::GetPositionY>("GetPositionY"),
            BindGetter<MouseImp, &MouseImp::IsInWindow>("IsInWindow"),
            BindGetter<MouseImp, &MouseImp::IsMoved>("IsMoved"),
            Bind<MouseImp, &AnswerFor<MouseImp, &MouseImp::IsPressed>>("IsPressed"),
            Bind<MouseImp, &AnswerFor<MouseImp, &MouseImp::IsTriggered>>("IsTriggered"),
            Bind<MouseImp, &AnswerFor<MouseImp, &MouseImp::IsDown>>("IsDown"),
            Bind<MouseImp, &AnswerFor<MouseImp, &MouseImp::IsUp>>("IsUp"),
            BindGetter<MouseImp, &MouseImp::IsCursorVisible>("IsCursorVisible"),
        }};
    return table;
}

const MethodTable& KeyboardMethods() {
    static const MethodTable table{
        KeyboardImp::kScriptName,
        {
            Bind<KeyboardImp, &AnswerFor<KeyboardImp, &KeyboardImp::IsPressed>>("IsPressed"),
            Bind<KeyboardImp, &AnswerFor<KeyboardImp, &KeyboardImp::IsTriggered>>("IsTriggered"),
            Bind<KeyboardImp, &AnswerFor<KeyboardImp, &KeyboardImp::IsDown>>("IsDown"),
            Bind<KeyboardImp, &AnswerFor<KeyboardImp, &KeyboardImp::IsUp>>("IsUp"),
            BindGetter<KeyboardImp, &KeyboardImp::AnyKey>("AnyKey"),
            Bind<KeyboardImp, &FindKey<&KeyboardImp::GetPressed>>("GetPressed"),
            Bind<KeyboardImp, &FindKey<&KeyboardImp::GetTriggered>>("GetTriggered"),
            Bind<KeyboardImp, &GetKeyAsChar>("GetKeyAsChar"),
        }};
    return table;
}

const TableRegistration s_mouseRegistration{&MouseMethods};
const TableRegistration s_keyboardRegistration{&KeyboardMethods};

}  // namespace
}  // namespace Lua
