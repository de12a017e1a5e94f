#pragma once

#include "Fuzz_Harness.h"
#include "core/Core_StreamTestClasses.h"

#include "core/Core_File.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

// What the object-stream harnesses share: the reading of records as a game
// reads a save, and seeds written by the engine, over the small registered
// classes of the stream tests (compiled into every harness).
namespace fuzz {

using streamtest::Counted;
using streamtest::Make;
using streamtest::StreamLeaf;
using streamtest::StreamList;
using streamtest::StreamNode;

// Reads records until the stream fails or runs out and writes each one to
// echo; keeps them all, or lets go of each before the next (so that later
// ids name objects only the stream still holds).
inline std::vector<Core::RefPtr<Core::Object>> ReadRecords(Core::File& file, Core::File& echo, bool keep) {
    std::vector<Core::RefPtr<Core::Object>> kept;
    for (std::uint32_t record = 0; !file.HasFailed(); ++record) {
        Core::RefPtr<Core::Object> object;
        if (record % 2 == 0) {
            object = file.ReadObject();
        } else {
            object = file.ReadObjectAs<StreamList>(Core::File::Reference::Owning);
        }
        echo << object;
        if (keep) {
            kept.push_back(object);
        }
    }
    return kept;
}

// Reads the field behind every plain link of the kept records: one that
// dangles is a use after free the sanitizer reports.
inline std::uint32_t FollowPlainLinks(const std::vector<Core::RefPtr<Core::Object>>& records) {
    std::vector<const Core::Object*> work;
    for (const auto& record : records) {
        work.push_back(record.Get());
    }
    std::unordered_set<const Core::Object*> seen;
    std::uint32_t sum = 0;
    while (!work.empty()) {
        const Core::Object* object = work.back();
        work.pop_back();
        if (object == nullptr || !seen.insert(object).second) {
            continue;
        }
        if (const auto* node = dynamic_cast<const StreamNode*>(object)) {
            sum += node->parent != nullptr ? node->parent->value : 0;
            work.push_back(node->child.Get());
        } else if (const auto* list = dynamic_cast<const StreamList*>(object)) {
            for (const auto& item : list->items) {
                work.push_back(item.Get());
            }
        }
    }
    return sum;
}

// One input, twice through the reused streams: start() puts it at the start
// of file with fresh tables (and echo with them), finish() resets both. The
// second pass keeps every record past the reset and follows its plain links.
// Afterwards no object may be left: the streams would have leaked it.
template <class Start, class Finish>
void ReadTwice(Core::File& file, Core::File& echo, Start start, Finish finish) {
    start();
    ReadRecords(file, echo, false);
    finish();
    start();
    std::vector<Core::RefPtr<Core::Object>> records = ReadRecords(file, echo, true);
    finish();
    volatile std::uint32_t sum = FollowPlainLinks(records);
    (void)sum;
    records.clear();
    if (Counted::Live() != 0) {
        std::abort();
    }
}

// The stream tests' save of three records, a node cycle, a shared leaf
// twice, and the bare plain-link stream.
inline void WriteObjectStreamSeeds(Seeds& seeds) {
    seeds.Add("save_of_three_records", streamtest::ValidStream());
    auto a = streamtest::MakeChain(3);
    a->child->parent = a.Get();
    Core::MemoryFile single;
    single << a;
    seeds.Add("node_cycle", streamtest::BytesOf(single));
    auto shared = Make<StreamLeaf>();
    shared->label = "a label of more than fifteen bytes";
    Core::MemoryFile leaf;
    leaf << shared << shared;
    seeds.Add("leaf_twice", streamtest::BytesOf(leaf));
    const std::string plainLink("\x01\x04\0\0\0Node\x01\0\0\0\0\x01\x04\0\0\0Node\x02\0\0\0\0\0\0\0\0\0\0\0\0\0", 37);
    seeds.Add("plain_link_to_nothing", Bytes(plainLink.begin(), plainLink.end()));
}

}  // namespace fuzz
