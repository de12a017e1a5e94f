#pragma once

#include "core/Core_MemoryFile.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"

#include <cstdint>
#include <vector>

// Replication payloads as a host writes them, built field by field from the
// wire layout, for tests that play the host's side.
namespace nettest {

// A game object's network save without a script.
struct SaveState {
    const char* name = "";
    Vector2D position;
    Vector2D center;
    float rotation = 0.0f;
    Vector2D scale{1.0f, 1.0f};
    bool visible = true;
    float lifeTime = 0.0f;
    float age = 0.0f;
    float zOrder = 0.0f;
    Color color{1.0f, 1.0f, 1.0f, 1.0f};
    std::uint32_t owner = 2;
    std::uint32_t number = 7;
};

// A game object's per-tick state without a script.
struct SyncState {
    const char* name = "";
    Vector2D position;
    float rotation = 0.0f;
};

inline SaveState Saved(const char* name, std::uint32_t number = 7, Vector2D position = {}) {
    SaveState state;
    state.name = name;
    state.number = number;
    state.position = position;
    return state;
}

inline SyncState Synced(const char* name, Vector2D position = {}, float rotation = 0.0f) {
    SyncState state;
    state.name = name;
    state.position = position;
    state.rotation = rotation;
    return state;
}

inline std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file) {
    return {file.GetData(), file.GetData() + file.GetSize()};
}

inline void WriteSave(Core::MemoryFile& file, const SaveState& state) {
    file.WriteString(state.name);
    for (float value : {state.position.x, state.position.y, state.center.x, state.center.y, state.rotation,
                        state.scale.x, state.scale.y}) {
        file.WriteF32(value);
    }
    file.WriteU8(state.visible ? 1 : 0);
    for (float value : {state.lifeTime, state.age, state.zOrder}) {
        file.WriteF32(value);
    }
    file << state.color;
    file.WriteU32(0);
    file.WriteU32(0);
    file.WriteU8(1);
    file.WriteU32(state.owner);
    file.WriteU32(state.number);
    file.WriteU8(0);
    file.WriteString("");
    file.WriteU8(0);
    file.WriteU8(0);
}

inline std::vector<std::uint8_t> SaveBytes(const SaveState& state) {
    Core::MemoryFile file;
    WriteSave(file, state);
    return Bytes(file);
}

// One type 7 body: layer index, template name, network save.
inline void WriteEntry(Core::MemoryFile& file, std::uint32_t layer, const char* templateName, const SaveState& state) {
    file.WriteU32(layer);
    file.WriteString(templateName);
    WriteSave(file, state);
}

inline std::vector<std::uint8_t> CreateBytes(std::uint32_t layer, const char* templateName, const SaveState& state) {
    Core::MemoryFile file;
    WriteEntry(file, layer, templateName, state);
    return Bytes(file);
}

// Type 9: object count, identity, then the per-tick state.
inline std::vector<std::uint8_t> StateBytes(std::uint32_t owner, std::uint32_t number, const SyncState& state) {
    Core::MemoryFile file;
    file.WriteU32(1);
    file.WriteU32(owner);
    file.WriteU32(number);
    file.WriteString(state.name);
    for (float value : {state.position.x, state.position.y, 0.0f, 0.0f, state.rotation, 1.0f, 1.0f}) {
        file.WriteF32(value);
    }
    file.WriteU8(1);
    file << Color(1.0f, 1.0f, 1.0f, 1.0f);
    file.WriteU8(0);
    file.WriteU8(0);
    return Bytes(file);
}

// Type 8 and type 16 are bare u32 fields.
inline std::vector<std::uint8_t> U32Bytes(std::initializer_list<std::uint32_t> values) {
    Core::MemoryFile file;
    for (std::uint32_t value : values) {
        file.WriteU32(value);
    }
    return Bytes(file);
}

inline std::vector<std::uint8_t> RemoveBytes(std::uint32_t owner, std::uint32_t number) {
    return U32Bytes({owner, number});
}

}  // namespace nettest
