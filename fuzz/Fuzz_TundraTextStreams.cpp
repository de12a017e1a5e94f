#include "Fuzz_RunningGame.h"

#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_Line.h"
#include "tundra/Tundra_Text.h"

// Texts, lines and circles come back from save games: any bytes must read
// into an object that joins a running level, updates, is cloned, drawn,
// destroyed and let go of, or into nothing. The first byte chooses the
// class (its value modulo 3); the rest is the stream.
namespace {

Tundra::Level* OneLayerLevel() {
    auto* level = TUN_NEW(Tundra::Level);
    auto* layer = TUN_NEW(Tundra::Layer, 0.0f);
    layer->AddStaticLineSegment({-10.0f, 0.0f}, {10.0f, 0.0f}, 0, 1);
    layer->AddStaticCircle({0.0f, 5.0f}, 2.0f, 0, 2);
    layer->SetVisibleCollisionData(true);
    level->AddLayer(layer);
    return level;
}

Core::RefPtr<Tundra::GameObject> Read(Core::File& file, std::uint8_t kind) {
    return fuzz::ReadChosen<Tundra::GameObject, Tundra::Text, Tundra::Line, Tundra::Circle>(file, kind);
}

// The setters each class offers, then a draw of the whole object.
void Exercise(Tundra::GameObject& object) {
    object.SetModulationColor(Color(0.5f, 0.5f, 1.0f, 1.0f));
    object.SetOpacity(0.5f);
    if (auto* text = dynamic_cast<Tundra::Text*>(&object)) {
        text->SetText(text->GetText() + "!");
        text->SetHUDObject(!text->IsHUDObject());
    } else if (auto* line = dynamic_cast<Tundra::Line*>(&object)) {
        line->SetEndPoint(line->GetStartPoint());
    } else if (auto* circle = dynamic_cast<Tundra::Circle*>(&object)) {
        circle->SetRadius(circle->GetRadius() * 2.0f);
    }
    object.GetSceneNode()->DrawTree();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ChoiceAndStream input(data, size);
    const Core::RefPtr<Tundra::Game> game = fuzz::StartedGame<OneLayerLevel>();
    Core::RefPtr<Tundra::GameObject> object = Read(input.file, input.choice);
    Tundra::Layer& layer = *game->GetCurrentLevel()->GetLayer(0);
    if (object) {
        const Core::RefPtr<Core::Object> clone = fuzz::JoinWithClone(layer, *object);
        fuzz::Step(*game, 2);
        Exercise(*object);
        Exercise(*static_cast<Tundra::GameObject*>(clone.Get()));
        fuzz::Step(*game, 1);
        object->Destroy();
        Core::MemoryFile again;
        again << clone;
    }
    object = nullptr;
    layer.SetCollisionDataColor(Color(1.0f, 0.0f, 0.0f, 1.0f));
    layer.SetVisibleCollisionData(false);
    fuzz::Step(*game, 2);
    game->Shutdown();
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const Core::String font = Tundra::Game::GetDirectory() + "\\Resources\\Fonts\\DefaultFont\\DefaultFont";
    const Core::RefPtr<Tundra::Text> text = TUN_NEW(Tundra::Text, "Score: 100\nLives", font);
    fuzz::AddStreamSeed(seeds, "text", 0, {text.Get()});
    text->SetHUDObject(true);
    text->SetName("hud");
    fuzz::AddStreamSeed(seeds, "hud_text", 0, {text.Get()});
    const Core::RefPtr<Tundra::Line> line = TUN_NEW(Tundra::Line, Vector2D(0.0f, 0.0f), Vector2D(10.0f, 5.0f));
    fuzz::AddStreamSeed(seeds, "line", 1, {line.Get()});
    const Core::RefPtr<Tundra::Circle> circle = TUN_NEW(Tundra::Circle, 3.0f);
    fuzz::AddStreamSeed(seeds, "circle", 2, {circle.Get()});
}
