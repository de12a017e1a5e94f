#pragma once

#include "core/Core_MemoryFile.h"
#include "core/Core_RefPtr.h"
#include "support/DamagedBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

// Stream checks the HUD widgets' tests share: each class's own fields come
// last in its part, so a test reaches them counting from the end.
namespace mygametest {

using StreamBytes = std::vector<std::uint8_t>;

inline StreamBytes SavedBytes(const Core::Object& object) {
    Core::MemoryFile file;
    file.WriteObject(&object);
    return {file.GetData(), file.GetData() + file.GetSize()};
}

// Null when the stream refuses the bytes.
template <class T>
Core::RefPtr<T> ReadBack(const StreamBytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return Core::RefPtr<T>(file.ReadObjectAs<T>());
}

// Save, load and save again give the same bytes; every cut reads nothing.
template <class T>
void ExpectStreamRoundTrip(const T& object) {
    const StreamBytes bytes = SavedBytes(object);
    const Core::RefPtr<T> read = ReadBack<T>(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(SavedBytes(*read), bytes);
    testsupport::ForEachDamaged(bytes, 0, 1, 0, [](const StreamBytes& cut, const char*, std::size_t length) {
        EXPECT_EQ(ReadBack<T>(cut), nullptr) << length;
    });
}

// The bytes with a field `fromEnd` bytes before the end overwritten.
template <class V>
StreamBytes WithFieldFromEnd(StreamBytes bytes, std::size_t fromEnd, V value) {
    std::memcpy(bytes.data() + bytes.size() - fromEnd, &value, sizeof value);
    return bytes;
}

}  // namespace mygametest
