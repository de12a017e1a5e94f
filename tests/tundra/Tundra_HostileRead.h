#pragma once

#include "core/Core_MemoryFile.h"
#include "core/Core_RefPtr.h"

#include <cstdint>
#include <random>
#include <vector>

namespace tundratest {

using Bytes = std::vector<std::uint8_t>;

// The object as a top-level reference, as a save writes it.
inline Bytes Saved(const Core::Object* object) {
    Core::MemoryFile file;
    file << object;
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

// Every prefix and seeded mutations of the bytes read as a T or as nothing,
// without a fault or a leak (the sanitizers judge); check sees each T read,
// which is written before and after it (check may exercise or end it).
template <class T, class Check>
void ReadHostile(const Bytes& bytes, int mutations, const Check& check) {
    const auto read = [&check](const Bytes& data) {
        Core::MemoryFile file(data.data(), static_cast<std::uint32_t>(data.size()));
        const Core::RefPtr<T> object = file.ReadObjectAs<T>(Core::File::Reference::Owning);
        if (object) {
            Saved(object.Get());
            check(*object);
            Saved(object.Get());
        }
    };
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        read(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    }
    std::mt19937 draw(11);
    for (int i = 0; i < mutations; ++i) {
        Bytes mutated = bytes;
        for (std::uint32_t n = draw() % 4 + 1; n > 0; --n) {
            mutated[draw() % mutated.size()] = static_cast<std::uint8_t>(draw());
        }
        read(mutated);
    }
}

template <class T>
void ReadHostile(const Bytes& bytes, int mutations) {
    ReadHostile<T>(bytes, mutations, [](const T&) {});
}

}  // namespace tundratest
