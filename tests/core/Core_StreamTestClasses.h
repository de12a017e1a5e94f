#pragma once

#include "core/Core_MemoryFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Small registered classes that store themselves in object streams, counted
// so that tests can see every object a read created go away again.
namespace streamtest {

class Counted : public Core::Object {
public:
    Counted() { ++s_live; }
    Counted(const Counted& other) : Core::Object(other) { ++s_live; }
    ~Counted() override { --s_live; }
    static int Live() { return s_live; }

private:
    inline static int s_live = 0;
};

class StreamLeaf : public Counted {
    TUN_DECLARE_CLASS(StreamLeaf);
    void Save(Core::File& file) const override { file.WriteI32(number); file.WriteF32(weight); file << label; }
    void Load(Core::File& file) override { file.ReadI32(number); file.ReadF32(weight); file >> label; }

    std::int32_t number = 0;
    float weight = 0.0f;
    Core::String label;
};

// Registered as "Node": owns its child; the parent is a plain pointer.
class StreamNode : public Counted {
    TUN_DECLARE_CLASS(StreamNode);
    void Save(Core::File& file) const override { file << child << parent; file.WriteU32(value); }
    void Load(Core::File& file) override { file >> child >> parent; file.ReadU32(value); }

    Core::RefPtr<StreamNode> child;
    StreamNode* parent = nullptr;
    std::uint32_t value = 0;
};

// Owns a list of objects of any class.
class StreamList : public Counted {
    TUN_DECLARE_CLASS(StreamList);
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    std::vector<Core::RefPtr<Core::Object>> items;
};

template <class T>
Core::RefPtr<T> Make() {
    return Core::RefPtr<T>(static_cast<T*>(T::Create()));
}

// The head of an object reference as the writer stores it (flag 1, class
// name, id), for streams put together by hand.
std::string Head(std::string_view className, std::uint32_t id);

inline std::vector<std::uint8_t> BytesOf(const Core::MemoryFile& file) {
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

// Three records: a list with a cycle through a plain parent, a shared leaf,
// long and short strings, nulls, a nested list and a chain of owned children;
// a list of back-references into the first; the first again.
std::vector<std::uint8_t> ValidStream();

// A chain of count nodes, each the child of the one before; returns the first.
Core::RefPtr<StreamNode> MakeChain(int count);

}  // namespace streamtest
