#pragma once

#include <cstdint>

// Key ids: the numbers callers name keys by, each standing for one
// virtual-key code. A few codes stand at more than one id.
namespace Input {

constexpr int kKeyIdCount = 196;

// Named ids.
constexpr int kKeyTab = 7;
constexpr int kKeyReturn = 9;
constexpr int kKeyEscape = 22;
constexpr int kKeySpace = 27;
constexpr int kKeyLeft = 32;
constexpr int kKeyUp = 33;
constexpr int kKeyRight = 34;
constexpr int kKeyDown = 35;
constexpr int kKeyDigit0 = 43;   // to 52: '0' to '9'
constexpr int kKeyLetterA = 53;  // to 78: 'A' to 'Z'
constexpr int kKeyNumpad0 = 83;  // to 92
constexpr int kKeyMultiply = 93;
constexpr int kKeyAdd = 94;
constexpr int kKeySubtract = 96;
constexpr int kKeyDecimal = 97;
constexpr int kKeyDivide = 98;
constexpr int kKeyLeftShift = 131;
constexpr int kKeyRightShift = 132;
constexpr int kKeyFirstPunctuation = 155;  // to 165: ; = , - . / ` [ \ ] '

// The virtual-key code of a key id; false for an id outside 0-195.
bool KeyCodeOfId(int keyId, std::uint8_t* code);

}  // namespace Input
