#include "tundra/Tundra_ReplayDataFile.h"

#include "input/Input_KeyState.h"
#include "os/OS_ByteOrder.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace Tundra::ReplayDataFile {

namespace {

// Presence bytes of both devices, mouse x and y, dt.
constexpr std::size_t kSmallestFrameBytes = 1 + 1 + 4 + 4 + 4;

void WriteList(Core::File& file, std::uint8_t present, const std::vector<std::uint8_t>& indices,
               const std::vector<std::uint8_t>& states) {
    file.WriteU8(present);
    if (present == 0) {
        return;
    }
    file.WriteU32(static_cast<std::uint32_t>(indices.size()));
    file.Write(indices.data(), static_cast<std::uint32_t>(indices.size()));
    file.WriteU32(static_cast<std::uint32_t>(states.size() / Input::kKeyStateBytes));
    file.Write(states.data(), static_cast<std::uint32_t>(states.size()));
}

// Fields taken from the front of the bytes; the first problem met is kept
// and every later take fails.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Left() const { return m_bytes.size() - m_offset; }
    bool Failed() const { return !m_reason.empty(); }
    const std::string& Reason() const { return m_reason; }
    void Fail(const char* reason) {
        if (m_reason.empty()) {
            m_reason = reason;
        }
    }

    std::span<const std::uint8_t> Take(std::size_t count) {
        if (Failed() || Left() < count) {
            Fail("truncated");
            return {};
        }
        const std::span<const std::uint8_t> taken = m_bytes.subspan(m_offset, count);
        m_offset += count;
        return taken;
    }
    std::uint32_t U32() {
        const std::span<const std::uint8_t> field = Take(4);
        return field.empty() ? 0 : os::LoadU32LE(field.data());
    }
    std::uint8_t Presence() {
        const std::span<const std::uint8_t> field = Take(1);
        if (!field.empty() && field[0] > 1) {
            Fail("presence byte not 0 or 1");
        }
        return field.empty() ? 0 : field[0];
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
    std::string m_reason;
};

// A count of items of itemBytes each, refused when the bytes left cannot hold them.
std::uint32_t BoundedCount(FieldReader& in, std::size_t itemBytes) {
    const std::uint32_t count = in.U32();
    if (count > in.Left() / itemBytes) {
        in.Fail("count larger than the file");
        return 0;
    }
    return count;
}

void ReadList(FieldReader& in, std::uint8_t& present, std::vector<std::uint8_t>& indices,
              std::vector<std::uint8_t>& states) {
    present = in.Presence();
    if (present == 0 || in.Failed()) {
        return;
    }
    const std::span<const std::uint8_t> read = in.Take(BoundedCount(in, 1));
    indices.assign(read.begin(), read.end());
    const std::uint32_t stateCount = BoundedCount(in, Input::kKeyStateBytes);
    if (!in.Failed() && stateCount != indices.size()) {
        in.Fail("index and state counts differ");
        return;
    }
    const std::span<const std::uint8_t> bytes = in.Take(stateCount * std::size_t{Input::kKeyStateBytes});
    states.assign(bytes.begin(), bytes.end());
}

}  // namespace

void Write(Core::File& file, const std::vector<ReplayFrame>& frames) {
    const std::size_t count = frames.empty() ? 0 : frames.size() - 1;
    file.WriteU32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const ReplayFrame& frame = frames[i];
        WriteList(file, frame.keyboardPresent, frame.keys, frame.keyStates);
        WriteList(file, frame.mousePresent, frame.buttons, frame.buttonStates);
        file.WriteI32(frame.GetMouseX());
        file.WriteI32(frame.GetMouseY());
        file.WriteF32(std::min(frame.dt, kLongestFrameSeconds));
    }
}

bool Read(std::span<const std::uint8_t> bytes, std::vector<ReplayFrame>& frames, std::string& reason) {
    FieldReader in(bytes);
    const std::uint32_t count = BoundedCount(in, kSmallestFrameBytes);
    // Grown frame by frame: what is held stays in proportion to what was read.
    std::vector<ReplayFrame> read;
    for (std::uint32_t i = 0; i < count && !in.Failed(); ++i) {
        ReplayFrame& frame = read.emplace_back();
        ReadList(in, frame.keyboardPresent, frame.keys, frame.keyStates);
        ReadList(in, frame.mousePresent, frame.buttons, frame.buttonStates);
        const auto x = static_cast<std::int32_t>(in.U32());
        const auto y = static_cast<std::int32_t>(in.U32());
        frame.SetMousePosition(x, y);
        frame.dt = std::bit_cast<float>(in.U32());
        // Every update of a recording lasted a finite time; anything else
        // would carry into the simulation.
        if (!in.Failed() && !(std::isfinite(frame.dt) && frame.dt >= 0.0f)) {
            in.Fail("dt not a finite time");
        }
        if (!in.Failed() && frame.dt > kLongestFrameSeconds) {
            in.Fail("dt longer than any frame");
        }
    }
    if (!in.Failed() && in.Left() != 0) {
        in.Fail("trailing bytes");
    }
    if (in.Failed()) {
        reason = in.Reason();
        return false;
    }
    frames = std::move(read);
    return true;
}

}  // namespace Tundra::ReplayDataFile
