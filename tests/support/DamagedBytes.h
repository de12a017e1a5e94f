#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace testsupport {

// Calls check(bytes, what, index) with every truncation of the bytes
// ("truncated", the length), then with `mutations` copies ("mutated", the
// copy's number), copy k with 1 + k % maxChanges bytes replaced at places
// and by values a generator of the given seed draws.
template <class Check>
void ForEachDamaged(const std::vector<std::uint8_t>& bytes, int mutations, int maxChanges, unsigned seed,
                    const Check& check) {
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        check(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)),
              "truncated", length);
    }
    std::mt19937 random(seed);
    for (int mutation = 0; mutation < mutations && !bytes.empty(); ++mutation) {
        std::vector<std::uint8_t> damaged = bytes;
        for (int changes = 1 + mutation % maxChanges; changes > 0; --changes) {
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        }
        check(damaged, "mutated", static_cast<std::size_t>(mutation));
    }
}

}  // namespace testsupport
