#pragma once

#include <cstdint>

namespace Core {

// The intrusive reference count every engine object carries. Counts are
// plain, non-atomic integers: one object is counted on one thread at a time.
class Base {
public:
    Base() = default;
    // A copy is a new object: it never takes over the source's count.
    Base(const Base&) : m_referenceCount(0) {}
    Base& operator=(const Base&) { return *this; }

    std::uint32_t GetReferenceCount() const { return m_referenceCount; }

protected:
    ~Base() = default;

    std::uint32_t m_referenceCount = 0;
};

}  // namespace Core
