#pragma once

#include <string_view>

namespace Tundra {
class ParticleSystem;
class Sprite;
class Text;
}  // namespace Tundra
struct LayerBuild;
struct ParticleRow;
struct SpriteRow;
struct TextRow;

// What makes, sets up and places the object of a row: the recipe for the
// row's class.
using SpriteMaker = Tundra::Sprite* (*)(const LayerBuild& build, const SpriteRow& row);
using TextMaker = Tundra::Text* (*)(const LayerBuild& build, const TextRow& row);
using ParticleMaker = Tundra::ParticleSystem* (*)(const LayerBuild& build, const ParticleRow& row);

// One class the content constructs, under the name the content gives it.
struct ContentClass {
    std::string_view name;
    SpriteMaker sprite = nullptr;
    TextMaker text = nullptr;
    ParticleMaker particles = nullptr;
};

// The class table's entry of that name; null when it holds none.
const ContentClass* FindContentClass(std::string_view name);

// A row's class: named as the content names it ("WeaponBar",
// "Tundra::Sprite") and found in the class table, or, for a class the table
// does not hold, given by its maker. A name the table does not hold (or
// holds for another kind of row) leaves the row without a maker.
template <class Maker, Maker ContentClass::*kKind>
class RowClass {
public:
    RowClass() = default;
    RowClass(Maker maker) : m_maker(maker) {}
    RowClass(const char* name) {
        if (const ContentClass* found = FindContentClass(name)) {
            m_maker = found->*kKind;
        }
    }

    Maker GetMaker() const { return m_maker; }

private:
    Maker m_maker = nullptr;
};

using SpriteClass = RowClass<SpriteMaker, &ContentClass::sprite>;
using TextClass = RowClass<TextMaker, &ContentClass::text>;
using ParticleClass = RowClass<ParticleMaker, &ContentClass::particles>;
