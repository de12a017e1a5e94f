#include "Fuzz_Harness.h"

#include "input/Input_KeyTable.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_HeadlessInput.h"

#include <algorithm>
#include <span>

// The mouse and keyboard records a networked peer sends: snapshots and event
// lists. Any bytes must leave the devices answering every query, and a
// device that took one record must take the next. The first byte picks the
// record: 0 mouse snapshot, 1 keyboard snapshot, 2 mouse events (20-byte
// movement record, count, buttons, states), 3 keyboard events (count, codes,
// states); bit 2 sends the events to the local device instead.
namespace {

enum Record : std::uint8_t { kMouseSnapshot, kKeyboardSnapshot, kMouseEvents, kKeyboardEvents };

struct Devices {
    Core::RefPtr<Input::MouseImp> localMouse = Input::MouseImp::CreateInstance();
    Core::RefPtr<Input::KeyboardImp> localKeyboard = Input::KeyboardImp::CreateInstance();
    Core::RefPtr<Input::MouseImp> remoteMouse = Input::MouseImp::CreateRemote();
    Core::RefPtr<Input::KeyboardImp> remoteKeyboard = Input::KeyboardImp::CreateRemote();
};

// Splits a count-prefixed list off the front of bytes.
std::span<const std::uint8_t> TakeList(std::span<const std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const std::size_t count = std::min<std::size_t>(bytes[0], bytes.size() - 1);
    const std::span<const std::uint8_t> list = bytes.subspan(1, count);
    bytes = bytes.subspan(1 + count);
    return list;
}

void Query(Input::Mouse& mouse, Input::Keyboard& keyboard) {
    volatile std::uint32_t sink = 0;  // unsigned: the sums may wrap
    for (int button = -1; button <= Input::kMouseButtonCount; ++button) {
        sink = sink + mouse.IsPressed(button) + mouse.IsTriggered(button) + mouse.IsDown(button) + mouse.IsUp(button);
    }
    sink = sink + mouse.GetPositionX() + mouse.GetPositionY() + mouse.IsInWindow() + mouse.IsCursorVisible();
    for (int id = -1; id <= Input::kKeyIdCount; ++id) {
        sink = sink + keyboard.IsPressed(id) + keyboard.IsTriggered(id) + keyboard.IsDown(id) + keyboard.IsUp(id);
    }
    // Shift comes from the records; each character also reads the lock keys.
    sink = sink + keyboard.GetKeyAsChar(Input::kKeyLetterA) + keyboard.GetKeyAsChar(Input::kKeyDigit0 + 2);
    int id = 0;
    sink = sink + keyboard.AnyKey() + keyboard.GetPressed(&id) + keyboard.GetTriggered(&id) + id;
    Input::MouseMovementRecord movement;
    std::vector<std::uint8_t> list;
    std::vector<std::uint8_t> states;
    sink = sink + mouse.GetEvents(movement, list, states) + keyboard.GetEvents(list, states);
    sink = sink + static_cast<std::uint32_t>(mouse.WriteSnapshot().size() + keyboard.WriteSnapshot().size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Devices devices;
    if (size == 0) {
        return 0;
    }
    const bool local = (data[0] & 4) != 0;
    Input::Mouse& mouse = local ? static_cast<Input::Mouse&>(*devices.localMouse) : *devices.remoteMouse;
    Input::Keyboard& keyboard = local ? static_cast<Input::Keyboard&>(*devices.localKeyboard) : *devices.remoteKeyboard;
    std::span<const std::uint8_t> bytes(data + 1, size - 1);
    switch (data[0] & 3) {
        case kMouseSnapshot: mouse.ReadSnapshot(bytes); break;
        case kKeyboardSnapshot: keyboard.ReadSnapshot(bytes); break;
        case kMouseEvents: {
            Input::MouseMovementRecord movement{};
            const std::size_t taken = std::min(bytes.size(), movement.size());
            std::copy_n(bytes.begin(), taken, movement.begin());
            bytes = bytes.subspan(taken);
            const std::span<const std::uint8_t> buttons = TakeList(bytes);
            mouse.ApplyEvents(movement, buttons, bytes);
            break;
        }
        case kKeyboardEvents: {
            const std::span<const std::uint8_t> codes = TakeList(bytes);
            keyboard.ApplyEvents(codes, bytes);
            break;
        }
    }
    Query(mouse, keyboard);
    return 0;
}

// Every seed is what a local device hands out after polls with keys and
// buttons held, in the harness's framing.
void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Devices devices;
    devices.localKeyboard->EndWaitForRelease();
    for (os::VirtualKey key : {os::VK_LBUTTON, os::VK_RBUTTON, os::VK_A, os::VK_LSHIFT, os::VK_SPACE}) {
        os::headless::SetKey(key, true);
    }
    for (int poll = 0; poll < 3; ++poll) {
        devices.localMouse->Update();
        devices.localKeyboard->Update();
    }
    const auto framed = [](std::uint8_t record, std::span<const std::uint8_t> head, std::span<const std::uint8_t> list,
                           std::span<const std::uint8_t> states) {
        fuzz::Bytes bytes{record};
        bytes.insert(bytes.end(), head.begin(), head.end());
        if (record >= kMouseEvents) {
            bytes.push_back(static_cast<std::uint8_t>(list.size()));
        }
        bytes.insert(bytes.end(), list.begin(), list.end());
        bytes.insert(bytes.end(), states.begin(), states.end());
        return bytes;
    };
    seeds.Add("mouse_snapshot", framed(kMouseSnapshot, devices.localMouse->WriteSnapshot(), {}, {}));
    seeds.Add("keyboard_snapshot", framed(kKeyboardSnapshot, devices.localKeyboard->WriteSnapshot(), {}, {}));

    os::headless::SetKey(os::VK_LBUTTON, false);
    os::headless::SetKey(os::VK_A, false);
    devices.localMouse->Update();
    devices.localKeyboard->Update();
    Input::MouseMovementRecord movement;
    std::vector<std::uint8_t> list;
    std::vector<std::uint8_t> states;
    devices.localMouse->GetEvents(movement, list, states);
    seeds.Add("mouse_events", framed(kMouseEvents, movement, list, states));
    devices.localKeyboard->GetEvents(list, states);
    seeds.Add("keyboard_events", framed(kKeyboardEvents, {}, list, states));
    seeds.Add("keyboard_events_local", framed(kKeyboardEvents | 4, {}, list, states));
    os::headless::ResetKeys();
}
