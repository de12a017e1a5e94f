#pragma once

#include "support/TempDirectory.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The game's "Saves" in a folder of the test's own while it lives: the
// program is made to run from there, beside a link to its resources (the
// generated sheets stay where the build put them).
namespace mygametest {

class StageSaves {
public:
    StageSaves();
    ~StageSaves();
    StageSaves(const StageSaves&) = delete;
    StageSaves& operator=(const StageSaves&) = delete;

    // The saved game of that name without its envelope; empty when none.
    std::vector<std::uint8_t> Payload(const std::string& name) const;
    // The payload in a fresh envelope as that save, so that only the
    // stream can tell what was changed.
    void WriteSealed(const std::string& name, std::span<const std::uint8_t> payload) const;

private:
    testsupport::TempDirectory m_folder;
};

}  // namespace mygametest
