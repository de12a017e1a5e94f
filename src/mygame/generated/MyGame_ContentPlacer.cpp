#include "mygame/generated/MyGame_ContentPlacer.h"

#include "mygame/generated/MyGame_ContentRecipe.h"
#include "tundra/Tundra_GameObject.h"

void ContentPlacer::BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer,
                               const LevelRows& rows) {
    Tundra::Layer* target = factory.GetLayer(layer);
    if (level >= m_handles.size() || layer >= rows.size() || target == nullptr) {
        return;
    }
    // The layer's rows follow those of the layers before it.
    std::size_t first = 0;
    for (std::uint32_t i = 0; i < layer; ++i) {
        first += rows[i].size();
    }
    std::size_t total = first;
    for (std::size_t i = layer; i < rows.size(); ++i) {
        total += rows[i].size();
    }
    std::vector<Core::RefPtr<Tundra::GameObject>>& handles = m_handles[level];
    handles.resize(total);
    const LayerBuild build{factory, level, layer, *target};
    const LayerRows& layerRows = rows[layer];
    for (std::size_t i = 0; i < layerRows.size(); ++i) {
        handles[first + i] = PlaceRow(build, layerRows[i]);
    }
    ReadLayerCollisions(build);
}

Tundra::GameObject* ContentPlacer::GetObject(std::uint32_t level, std::size_t row) const {
    if (level >= m_handles.size() || row >= m_handles[level].size()) {
        return nullptr;
    }
    return m_handles[level][row].Get();
}

void ContentPlacer::ForgetObjects() {
    for (auto& handles : m_handles) {
        handles.clear();
    }
}
