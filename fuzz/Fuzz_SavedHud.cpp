#include "Fuzz_RunningGame.h"
#include "Fuzz_SaveFiles.h"

#include "core/Core_MemoryFile.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// The HUD's part of a saved game, between the rest of a running game's
// save, loads as the game loads a save: either it loads, and the windows
// run and draw a few frames, or it is refused and the running game is left
// as it was (its state hash the same). Either way the game then goes back
// to its saved state without windows, which lets go of what was loaded.
namespace {

using fuzz::Bytes;
using fuzz::EnginePath;
using fuzz::SavingGame;

template <class T>
Core::RefPtr<T> Make() {
    return Core::RefPtr<T>(TUN_NEW(T));
}

// A main window holding a focused button and three radio buttons, and a
// modal dialog.
void OpenWindows(GUI::HUD& hud) {
    const auto main = Make<GUI::Form>();
    main->SetName("Main");
    hud.AddForm(main.Get());
    const auto button = Make<GUI::Button>();
    main->AddControl(button.Get());
    for (int index = 0; index < 3; ++index) {
        const auto radio = Make<GUI::RadioButton>();
        radio->SetPosition({10.0f + 20 * static_cast<float>(index), 10});
        main->AddControl(radio.Get());
    }
    const auto dialog = Make<GUI::Form>();
    dialog->SetPosition({40, 20});
    hud.AddForm(dialog.Get());
    button->GainFocus();
    dialog->SetModal(true);
}

// The game's save without its HUD part, which the input takes the place
// of, and the HUD parts of the states the seeds start from.
struct Saves {
    Bytes prefix;
    Bytes suffix;
    Bytes windows;
    Bytes closing;
    Bytes empty;
};

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to) {
    return from <= to && to <= bytes.size() ? Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                     bytes.begin() + static_cast<std::ptrdiff_t>(to))
                                            : Bytes();
}

Bytes Spliced(const Saves& saves, const std::uint8_t* hudPart, std::size_t size) {
    Bytes payload = saves.prefix;
    payload.insert(payload.end(), hudPart, hudPart + size);
    payload.insert(payload.end(), saves.suffix.begin(), saves.suffix.end());
    return payload;
}

bool Loads(SavingGame& game, const Bytes& payload) {
    fuzz::WriteEnveloped("input", payload.data(), payload.size());
    return game.LoadStateFrom(EnginePath("input"));
}

// Three saves taken in one frame: with the windows, with a button and the
// dialog on their way out, and without windows ("base"). The HUD part
// starts where the first and the last part ways (the form count) and is as
// long as an empty HUD writes; the rest is the same in all three.
SavingGame& RunningGame(Saves& saves) {
    static SavingGame* game = [&saves] {
        SavingGame* made = &fuzz::MakeSavingGame("fuzz-saved-hud");
        GUI::HUD& hud = *made->GetHUD();
        OpenWindows(hud);
        fuzz::Step(*made, 2);
        GUI::Control* main = hud.GetForm("Main");
        if (!made->SaveStateTo(EnginePath("windows")) || main == nullptr) {
            std::abort();
        }
        main->GetControl(1u)->DestroyNow();
        hud.RemoveForm(hud.GetForm(1u));
        made->SaveStateTo(EnginePath("closing"));
        hud.Clear();
        Core::MemoryFile emptyHud;
        hud.WriteInformation(emptyHud);
        if (!made->SaveStateTo(EnginePath("base"))) {
            std::abort();
        }
        const Bytes windows = fuzz::PayloadOf("windows");
        const Bytes closing = fuzz::PayloadOf("closing");
        const Bytes base = fuzz::PayloadOf("base");
        const auto start = static_cast<std::size_t>(
            std::mismatch(windows.begin(), windows.end(), base.begin(), base.end()).first - windows.begin());
        const std::size_t suffix = base.size() - start - emptyHud.GetSize();
        saves.prefix = Slice(base, 0, start);
        saves.suffix = Slice(base, base.size() - suffix, base.size());
        saves.empty = Slice(base, start, base.size() - suffix);
        saves.windows = Slice(windows, start, windows.size() - suffix);
        saves.closing = Slice(closing, start, closing.size() - suffix);
        // The suffix names the physics engine by an id past those of the
        // windows: it is taken from the save with the most objects.
        saves.suffix = Slice(windows, windows.size() - suffix, windows.size());
        for (const Bytes* part : {&saves.windows, &saves.closing, &saves.empty}) {
            if (!Loads(*made, Spliced(saves, part->data(), part->size()))) {
                std::abort();
            }
        }
        if (!made->LoadStateFrom(EnginePath("base"))) {
            std::abort();
        }
        return made;
    }();
    return *game;
}

Saves g_saves;

// Back to the state without windows, which lets go of what was loaded.
int LeaveForBase(SavingGame& game) {
    if (!game.LoadStateFrom(EnginePath("base"))) {
        std::abort();
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SavingGame& game = RunningGame(g_saves);
    const std::uint64_t before = game.GetStateHash();
    if (Loads(game, Spliced(g_saves, data, size))) {
        fuzz::Step(game, 3);
        return LeaveForBase(game);
    }
    if (game.GetStateHash() != before) {
        std::fprintf(stderr, "a refused HUD part changed the running game\n");
        std::abort();
    }
    return LeaveForBase(game);
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    RunningGame(g_saves);
    seeds.Add("windows", g_saves.windows);
    seeds.Add("closing", g_saves.closing);
    seeds.Add("empty", g_saves.empty);
}
