#pragma once

#include <cstdint>

// Virtual-key codes: one byte per key or mouse button, independent of the
// keyboard's scan codes. Letters and digits are their upper-case ASCII codes
// ('A' 0x41, '0' 0x30). Only the codes the program names are listed.
namespace os {

using VirtualKey = std::uint8_t;

constexpr VirtualKey VK_LBUTTON = 0x01;
constexpr VirtualKey VK_RBUTTON = 0x02;
constexpr VirtualKey VK_CANCEL = 0x03;
constexpr VirtualKey VK_MBUTTON = 0x04;
constexpr VirtualKey VK_XBUTTON1 = 0x05;
constexpr VirtualKey VK_XBUTTON2 = 0x06;
constexpr VirtualKey VK_BACK = 0x08;
constexpr VirtualKey VK_TAB = 0x09;
constexpr VirtualKey VK_CLEAR = 0x0C;
constexpr VirtualKey VK_RETURN = 0x0D;
constexpr VirtualKey VK_SHIFT = 0x10;
constexpr VirtualKey VK_CONTROL = 0x11;
constexpr VirtualKey VK_MENU = 0x12;
constexpr VirtualKey VK_PAUSE = 0x13;
constexpr VirtualKey VK_CAPITAL = 0x14;
constexpr VirtualKey VK_ESCAPE = 0x1B;
constexpr VirtualKey VK_SPACE = 0x20;
constexpr VirtualKey VK_PRIOR = 0x21;
constexpr VirtualKey VK_NEXT = 0x22;
constexpr VirtualKey VK_END = 0x23;
constexpr VirtualKey VK_HOME = 0x24;
constexpr VirtualKey VK_LEFT = 0x25;
constexpr VirtualKey VK_UP = 0x26;
constexpr VirtualKey VK_RIGHT = 0x27;
constexpr VirtualKey VK_DOWN = 0x28;
constexpr VirtualKey VK_SELECT = 0x29;
constexpr VirtualKey VK_EXECUTE = 0x2B;
constexpr VirtualKey VK_SNAPSHOT = 0x2C;
constexpr VirtualKey VK_INSERT = 0x2D;
constexpr VirtualKey VK_DELETE = 0x2E;
constexpr VirtualKey VK_HELP = 0x2F;
constexpr VirtualKey VK_0 = 0x30;
constexpr VirtualKey VK_A = 0x41;
constexpr VirtualKey VK_LWIN = 0x5B;
constexpr VirtualKey VK_RWIN = 0x5C;
constexpr VirtualKey VK_APPS = 0x5D;
constexpr VirtualKey VK_SLEEP = 0x5F;
constexpr VirtualKey VK_NUMPAD0 = 0x60;
constexpr VirtualKey VK_MULTIPLY = 0x6A;
constexpr VirtualKey VK_ADD = 0x6B;
constexpr VirtualKey VK_SEPARATOR = 0x6C;
constexpr VirtualKey VK_SUBTRACT = 0x6D;
constexpr VirtualKey VK_DECIMAL = 0x6E;
constexpr VirtualKey VK_DIVIDE = 0x6F;
constexpr VirtualKey VK_F1 = 0x70;
constexpr VirtualKey VK_F13 = 0x7C;
constexpr VirtualKey VK_NUMLOCK = 0x90;
constexpr VirtualKey VK_SCROLL = 0x91;
constexpr VirtualKey VK_LSHIFT = 0xA0;
constexpr VirtualKey VK_RSHIFT = 0xA1;
constexpr VirtualKey VK_LCONTROL = 0xA2;
constexpr VirtualKey VK_RCONTROL = 0xA3;
constexpr VirtualKey VK_LMENU = 0xA4;
constexpr VirtualKey VK_RMENU = 0xA5;
// Punctuation keys, named by what they give on a US layout.
constexpr VirtualKey VK_OEM_1 = 0xBA;       // ;
constexpr VirtualKey VK_OEM_PLUS = 0xBB;    // =
constexpr VirtualKey VK_OEM_COMMA = 0xBC;   // ,
constexpr VirtualKey VK_OEM_MINUS = 0xBD;   // -
constexpr VirtualKey VK_OEM_PERIOD = 0xBE;  // .
constexpr VirtualKey VK_OEM_2 = 0xBF;       // /
constexpr VirtualKey VK_OEM_3 = 0xC0;       // `
constexpr VirtualKey VK_OEM_4 = 0xDB;       // [
constexpr VirtualKey VK_OEM_5 = 0xDC;       // backslash
constexpr VirtualKey VK_OEM_6 = 0xDD;       // ]
constexpr VirtualKey VK_OEM_7 = 0xDE;       // '
constexpr VirtualKey VK_OEM_102 = 0xE2;     // the extra key left of Z on ISO keyboards

}  // namespace os
