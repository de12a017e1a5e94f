#pragma once

#include "core/Core_MemoryFile.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

// Shared by the emitter and particle-system tests: object streams as bytes,
// and hostile copies of them.
namespace particletest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Bytes_(const Core::MemoryFile& file) { return Bytes(file.GetData(), file.GetData() + file.GetSize()); }

// The object as a stream reference (class name, id, body).
inline Bytes Saved(const Core::Object* object) {
    Core::MemoryFile file;
    file << object;
    return Bytes_(file);
}

// The object's body alone, as its Save writes it.
inline Bytes Body(const Core::Object& object) {
    Core::MemoryFile file;
    object.Save(file);
    return Bytes_(file);
}

// Every prefix and seeded mutations of the bytes read as a T or as nothing;
// what reads is exercised and written again. The sanitizers judge.
template <class T>
void ReadHostile(const Bytes& bytes, int mutations, const std::function<void(T&)>& exercise) {
    const auto read = [&exercise](const Bytes& data) {
        Core::MemoryFile file(data.data(), static_cast<std::uint32_t>(data.size()));
        const Core::RefPtr<T> object = file.ReadObjectAs<T>(Core::File::Reference::Owning);
        if (object) {
            exercise(*object);
            Saved(object.Get());
        }
    };
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        read(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    }
    std::mt19937 draw(23);
    for (int i = 0; i < mutations; ++i) {
        Bytes mutated = bytes;
        for (std::uint32_t n = draw() % 4 + 1; n > 0; --n) {
            mutated[draw() % mutated.size()] = static_cast<std::uint8_t>(draw());
        }
        read(mutated);
    }
}

}  // namespace particletest
