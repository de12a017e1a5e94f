#include "gui/GUI_NRectangle.h"
#include "gui/GUI_ScriptSize.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GuiValues.h"

// The "NRectangle" table over the copies scripts hold: fields, edges, the
// point test, moves and the overlap of two rectangles.
namespace Lua {
namespace {

using GUI::NRectangle;

int Zeroize(NRectangle& rectangle, lua_State*) {
    rectangle = NRectangle();
    return 0;
}

int SetPosition(NRectangle& rectangle, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        rectangle.SetPosition(GetPoint2D(state, 1));
    }
    return 0;
}

int GetPosition(NRectangle& rectangle, lua_State* state) {
    PushPoint2D(state, rectangle.GetX(), rectangle.GetY());
    return 1;
}

int SetSize(NRectangle& rectangle, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        const Vector2D size = GUI::GetScriptSize(state, 1);
        rectangle.SetWidth(size.x);
        rectangle.SetHeight(size.y);
    }
    return 0;
}

int GetSize(NRectangle& rectangle, lua_State* state) {
    GUI::PushScriptSize(state, rectangle.GetWidth(), rectangle.GetHeight());
    return 1;
}

int IsInside(NRectangle& rectangle, lua_State* state) {
    if (ArgumentCount(state) < 2) {
        return 0;
    }
    PushBool(state, rectangle.IsInside(GetFloat(state, 1), GetFloat(state, 2)));
    return 1;
}

int Translate(NRectangle& rectangle, lua_State* state) {
    if (ArgumentCount(state) >= 2) {
        rectangle.SetX(rectangle.GetX() + GetFloat(state, 1));
        rectangle.SetY(rectangle.GetY() + GetFloat(state, 2));
    }
    return 0;
}

// The overlap of the two argument rectangles, valid or not; the receiver
// only stands for the table.
int Intersect(NRectangle&, lua_State* state) {
    const NRectangle* a = GetRectangle(state, 1);
    const NRectangle* b = GetRectangle(state, 2);
    if (a == nullptr || b == nullptr) {
        return 0;
    }
    NRectangle overlap;
    NRectangle::Intersect(overlap, *a, *b);
    PushRectangle(state, overlap);
    return 1;
}

const MethodTable& RectangleMethods() {
    using R = NRectangle;
    static const MethodTable table{kRectangleName,
                                   {
                                       BindValue<R, &Zeroize>("LuaZeroize"),
                                       BindValue<R, &SetPosition>("SetPosition"),
                                       BindValue<R, &GetPosition>("GetPosition"),
                                       BindValue<R, &SetSize>("SetSize"),
                                       BindValue<R, &GetSize>("GetSize"),
                                       BindValue<R, &Setter<R, &R::SetX>>("SetLeft"),
                                       BindValue<R, &Getter<R, &R::GetX>>("GetLeft"),
                                       BindValue<R, &Setter<R, &R::SetY>>("SetBottom"),
                                       BindValue<R, &Getter<R, &R::GetY>>("GetBottom"),
                                       BindValue<R, &Setter<R, &R::SetWidth>>("SetWidth"),
                                       BindValue<R, &Getter<R, &R::GetWidth>>("GetWidth"),
                                       BindValue<R, &Setter<R, &R::SetHeight>>("SetHeight"),
                                       BindValue<R, &Getter<R, &R::GetHeight>>("GetHeight"),
                                       BindValue<R, &Getter<R, &R::GetRight>>("GetRight"),
                                       BindValue<R, &Getter<R, &R::GetTop>>("GetTop"),
                                       BindValue<R, &IsInside>("IsInside"),
                                       BindValue<R, &Getter<R, &R::IsValid>>("IsValid"),
                                       BindValue<R, &Translate>("Translate"),
                                       BindValue<R, &Intersect>("Intersect"),
                                   },
                                   true};
    return table;
}

const TableRegistration s_nRectangleMethodsRegistration{&RectangleMethods};

}  // namespace
}  // namespace Lua
