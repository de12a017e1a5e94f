#pragma once

#include <cstdint>

namespace Renderer {

// Numbers objects in the order they were made (a copy is a new object with
// a new number), so that sorting by it gives the same order on every run,
// which addresses do not. Main thread only, as all drawing.
class CreationNumber {
public:
    CreationNumber() : m_value(++s_last) {}
    CreationNumber(const CreationNumber&) : CreationNumber() {}
    // An object keeps its own number when another's state is assigned to it.
    CreationNumber& operator=(const CreationNumber&) { return *this; }

    std::uint64_t Get() const { return m_value; }

private:
    static inline std::uint64_t s_last = 0;
    std::uint64_t m_value;
};

}  // namespace Renderer
