#include "Core_StreamTestClasses.h"

namespace streamtest {

void StreamList::Save(Core::File& file) const {
    file.WriteU32(static_cast<std::uint32_t>(items.size()));
    for (const auto& item : items) {
        file << item;
    }
}

// The count comes from the data: no reserve, and stop at the first failure.
void StreamList::Load(Core::File& file) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        file >> items.emplace_back();
    }
}

std::string Head(std::string_view className, std::uint32_t id) {
    Core::MemoryFile file;
    file.WriteU8(1);
    file << Core::String(className);
    file.WriteU32(id);
    return std::string(file.GetData(), file.GetData() + file.GetSize());
}

Core::RefPtr<StreamNode> MakeChain(int count) {
    Core::RefPtr<StreamNode> first;
    for (int i = 0; i < count; ++i) {
        Core::RefPtr<StreamNode> node = Make<StreamNode>();
        node->child = std::move(first);
        first = std::move(node);
    }
    return first;
}

std::vector<std::uint8_t> ValidStream() {
    auto shared = Make<StreamLeaf>();
    shared->label = "a label of more than fifteen bytes";
    auto a = MakeChain(6);
    a->child->parent = a.Get();
    auto inner = Make<StreamList>();
    inner->items = {Make<StreamLeaf>(), nullptr, shared};
    auto root = Make<StreamList>();
    root->items = {a, inner, nullptr, shared, shared};
    auto again = Make<StreamList>();
    again->items = {root, a->child, shared};
    Core::MemoryFile file;
    file << root << again << root;
    return BytesOf(file);
}

}  // namespace streamtest

TUN_DEFINE_CLASS_NAMED(streamtest::StreamLeaf, "StreamLeaf")
TUN_DEFINE_CLASS_NAMED(streamtest::StreamNode, "Node")
TUN_DEFINE_CLASS_NAMED(streamtest::StreamList, "StreamList")
