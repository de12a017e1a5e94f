#include "Network_DriverScript.h"

#include "tundra/Lua_Host.h"
#include "tundra/Lua_Values.h"

#include <cstdio>
#include <lua.hpp>

namespace netdriver {
namespace {

// What the test asks of a game most often, written once. Players come in id
// order as "id:name:hostflag"; sessions as "name:max:players:password:id".
constexpr std::string_view kHelpers = R"lua(
Driver = {}
function Driver.Net() return Game:GetNetworkEngine() end
function Driver.Players()
    local list = Game:GetNetworkEngine():GetSessionPlayers()
    local parts = {}
    if list ~= nil then
        for _, player in ipairs(list) do
            parts[#parts + 1] = player:GetID() .. ":" .. player:GetName() .. ":" .. (player:IsHost() and 1 or 0)
        end
    end
    return table.concat(parts, ",")
end
function Driver.Sessions()
    local parts = {}
    for i = 0, Game:GetOnlineSessionsCount() - 1 do
        local s = Game:GetOnlineSession(i)
        if s ~= nil then
            parts[#parts + 1] = s:GetHostName() .. ":" .. s:GetSessionMaxPlayers() .. ":" ..
                s:GetSessionPlayersNumber() .. ":" .. (s:IsPasswordProtected() and 1 or 0) .. ":" .. s:GetNetworkID()
        end
    end
    return table.concat(parts, ",")
end
function Driver.Join(name)
    return Game:JoinNetworkGame(name, Game:GetOnlineSession(0), "")
end
function Driver.Player(id) return Game:GetNetworkEngine():QueryPlayer(id) end
Driver.Dots = {}
function Driver.AddDot(owner, x, y)
    local layer = Game:GetCurrentLevel():GetLayer(1)
    local dot = layer:AddNetworkGameObject("DriverDot", owner)
    if dot == nil then return false end
    dot:SetPositionX(x)
    dot:SetPositionY(y)
    Driver.Dots[#Driver.Dots + 1] = dot
    return true
end
function Driver.MoveDots(dx, dy)
    for _, dot in ipairs(Driver.Dots) do
        dot:SetPositionX(dot:GetPositionX() + dx)
        dot:SetPositionY(dot:GetPositionY() + dy)
    end
    return #Driver.Dots
end
function Driver.RemoveDot(index)
    local dot = table.remove(Driver.Dots, index)
    if dot == nil then return false end
    Game:GetCurrentLevel():GetLayer(1):RemoveGameObject(dot)
    return true
end
function Driver.DotKeyHeld(index, key)
    return Driver.Dots[index]:GetNetworkKeyboard():IsPressed(key)
end
)lua";

}  // namespace

bool RunScript(std::string_view chunk, std::string& results) {
    results.clear();
    lua_State* state = Lua::Host::GetMainState();
    if (state == nullptr) {
        results = "no interpreter";
        return false;
    }
    const int top = lua_gettop(state);
    if (luaL_loadbuffer(state, chunk.data(), chunk.size(), "=driver") != 0 ||
        lua_pcall(state, 0, LUA_MULTRET, 0) != 0) {
        const char* message = lua_tostring(state, -1);
        results = message != nullptr ? message : "(no message)";
        lua_settop(state, top);
        return false;
    }
    lua_getglobal(state, "tostring");
    for (int index = top + 1; index < lua_gettop(state); ++index) {
        lua_pushvalue(state, -1);
        lua_pushvalue(state, index);
        lua_call(state, 1, 1);
        const char* text = lua_tostring(state, -1);
        if (index > top + 1) {
            results += '|';
        }
        results += text != nullptr ? text : "?";
        lua_pop(state, 1);
    }
    lua_settop(state, top);
    return true;
}

void SetScriptGlobal(const char* name, const Core::Object* object) {
    lua_State* state = Lua::Host::GetMainState();
    if (state != nullptr) {
        Lua::PushObject(state, object);
        lua_setglobal(state, name);
    }
}

bool DefineDriverHelpers(std::string& error) { return RunScript(kHelpers, error); }

void PrintLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace netdriver
