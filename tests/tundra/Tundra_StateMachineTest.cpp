#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_StateMachine.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

// Logs "+X" on entering state X, "uX" on updating it, "-X" on leaving it;
// condition I answers conditions[I] and counts its calls.
struct Owner {
    template <char Name>
    void Enter(float) { log += std::string(" +") + Name; }
    template <char Name>
    void Update(float) { log += std::string(" u") + Name; }
    template <char Name>
    void Exit(float) { log += std::string(" -") + Name; }
    template <int I>
    bool Condition(float) {
        ++calls[I];
        return conditions[I];
    }
    std::string TakeLog() { return std::exchange(log, {}); }

    std::string log;
    std::array<bool, 3> conditions{};
    std::array<int, 3> calls{};
};

using Machine = Tundra::StateMachine<Owner>;
using State = Tundra::State<Owner>;
using Ref = Core::RefPtr<Tundra::StateBase<Owner>>;
using Bytes = std::vector<std::uint8_t>;

template <char Name>
Ref MakeState(float minimumTime = 0.0f) {
    auto* state = TUN_NEW(State, minimumTime);
    state->SetName(std::string(1, Name));
    state->SetEnterCallback(&Owner::Enter<Name>);
    state->SetUpdateCallback(&Owner::Update<Name>);
    state->SetExitCallback(&Owner::Exit<Name>);
    return state;
}

// A (to B while condition 0 holds for holdTime) and B (minimum time 0.25).
Core::RefPtr<Machine> BuildAB(Owner* owner, float holdTime = 0.5f, float minimumTimeA = 0.0f) {
    Ref a = MakeState<'A'>(minimumTimeA);
    a->AddTransition(1, &Owner::Condition<0>, holdTime);
    return TUN_NEW(Machine, Machine::StateList{a, MakeState<'B'>(0.25f)}, 0, 0.0f, owner);
}

// N, a machine of X (to Y on condition 1) and Y, left for B on condition 0
// (a slow and a quick transition); B goes back to N on condition 2.
Core::RefPtr<Machine> BuildNested(Owner* owner) {
    Ref x = MakeState<'X'>();
    x->AddTransition(1, &Owner::Condition<1>, 0.0f);
    Ref nested(TUN_NEW(Machine, Machine::StateList{x, MakeState<'Y'>()}, 0, 0.0f, owner));
    nested->SetName("N");
    nested->SetEnterCallback(&Owner::Enter<'N'>);
    nested->SetExitCallback(&Owner::Exit<'N'>);
    nested->AddTransition(1, &Owner::Condition<0>, 9.0f);
    nested->AddTransition(1, &Owner::Condition<0>, 0.0f);
    Ref b = MakeState<'B'>();
    b->AddTransition(0, &Owner::Condition<2>, 0.0f);
    return TUN_NEW(Machine, Machine::StateList{nested, b}, 0, 0.0f, owner);
}

Bytes Save(const Machine& machine) {
    Core::MemoryFile file;
    machine.Save(file);
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

bool Load(Machine& machine, const Bytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    machine.Load(file);
    return !file.HasFailed();
}

const Bytes kTwoUpdates = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3F, 0xCD, 0xCC, 0x4C, 0x3E,
                           0x01, 0x00, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                           0x00, 0x42, 0x00, 0x00, 0x80, 0x3E, 0xCD, 0xCC, 0x4C, 0x3E, 0x00, 0x00,
                           0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00};

TEST(StateMachine, FirstUpdateOnlyEntersThenTransitionsSwitchWithinOneUpdate) {
    Owner owner;
    owner.conditions[0] = true;
    auto machine = BuildAB(&owner, 0.0f);
    machine->Update(0.2f);
    EXPECT_EQ(owner.TakeLog(), " +A uA");
    EXPECT_EQ(owner.calls[0], 0);
    machine->Update(0.2f);
    EXPECT_EQ(owner.TakeLog(), " -A +B uB");
    EXPECT_EQ(machine->GetCurrent(), 1);
    EXPECT_EQ(machine->GetTimeInState(), 0.0f);
}

TEST(StateMachine, ConditionMustHoldUnbrokenForTheHoldTime) {
    struct Case {
        std::vector<bool> frames;
        std::vector<float> timers;  // A's timer after each frame
        int switchFrame;
    };
    const Case cases[] = {
        {{true, true, true}, {0.2f, 0.4f, 0.0f}, 2},
        {{true, false, true, true, true}, {0.2f, 0.0f, 0.2f, 0.4f, 0.0f}, 4},
    };
    for (const Case& c : cases) {
        Owner owner;
        auto machine = BuildAB(&owner);
        machine->Update(0.2f);
        for (std::size_t frame = 0; frame < c.frames.size(); ++frame) {
            owner.conditions[0] = c.frames[frame];
            machine->Update(0.2f);
            EXPECT_FLOAT_EQ(machine->GetStates()[0]->GetTransitions()[0].timer, c.timers[frame]);
            EXPECT_EQ(machine->GetCurrent(), static_cast<int>(frame) >= c.switchFrame ? 1 : 0) << frame;
        }
    }
}

TEST(StateMachine, EarlierReadyTransitionWinsAndLaterConditionIsNotCalled) {
    Owner owner;
    owner.conditions = {true, true, false};
    Ref a = MakeState<'A'>();
    a->AddTransition(1, &Owner::Condition<0>, 0.0f);
    a->AddTransition(2, &Owner::Condition<1>, 0.0f);
    Machine machine({a, MakeState<'B'>(), MakeState<'C'>()}, 0, 0.0f, &owner);
    machine.Update(0.1f);
    machine.Update(0.1f);
    EXPECT_EQ(owner.TakeLog(), " +A uA -A +B uB");
    EXPECT_EQ(owner.calls[1], 0);
}

TEST(StateMachine, MinimumTimeKeepsConditionsUncalled) {
    Owner owner;
    auto machine = BuildAB(&owner, 0.5f, 1.0f);
    machine->Update(0.25f);
    for (int update = 1; update <= 4; ++update) {
        machine->Update(0.25f);
        EXPECT_EQ(owner.calls[0], update == 4 ? 1 : 0) << update;
    }
}

TEST(StateMachine, NestedMachineIsEnteredResetOnExitAndReenteredAtItsStart) {
    Owner owner;
    auto machine = BuildNested(&owner);
    const auto& nested = static_cast<const Machine&>(*machine->GetStates()[0]);
    owner.conditions[1] = true;
    machine->Update(0.1f);
    machine->Update(0.1f);
    EXPECT_EQ(owner.TakeLog(), " +N +X uX -X +Y uY");

    // The quick transition wins while the slow one has started counting; the
    // win clears N's timers, as it clears an ordinary state's.
    owner.conditions = {true, false, false};
    machine->Update(0.1f);
    EXPECT_EQ(owner.TakeLog(), " +B uB");
    EXPECT_TRUE(nested.IsFirstUpdate());
    EXPECT_EQ(nested.GetCurrent(), 0);
    for (const auto& transition : nested.GetTransitions()) {
        EXPECT_EQ(transition.timer, 0.0f);
    }

    owner.conditions = {false, false, true};
    machine->Update(0.1f);
    EXPECT_EQ(owner.TakeLog(), " -B +N +X uX");
}

TEST(StateMachine, PendingSwitchToTheCurrentStateLeavesAndReentersIt) {
    Owner owner;
    auto machine = BuildAB(&owner);
    machine->Update(0.1f);
    owner.TakeLog();
    ASSERT_TRUE(machine->SetStateByName("A"));
    EXPECT_EQ(machine->GetPending(), 0);
    machine->Update(0.1f);
    EXPECT_EQ(owner.TakeLog(), " -A +A uA");
    EXPECT_EQ(machine->GetPending(), Machine::kNone);
}

TEST(StateMachine, SetStateByNameBeforeTheFirstUpdateStartsThere) {
    Owner owner;
    auto machine = BuildAB(&owner);
    EXPECT_FALSE(machine->SetStateByName("C"));
    ASSERT_TRUE(machine->SetStateByName("B"));
    EXPECT_EQ(machine->GetCurrent(), 1);
    EXPECT_EQ(machine->GetPending(), Machine::kNone);
    machine->Update(0.1f);
    EXPECT_EQ(owner.TakeLog(), " +B uB");
}

TEST(StateMachine, WithoutOwnerOrStatesNothingHappens) {
    Owner owner;
    auto ownerless = BuildAB(nullptr);
    ownerless->Update(0.1f);
    ownerless->Reset(0.1f);
    EXPECT_TRUE(ownerless->IsFirstUpdate());

    Machine empty({}, 0, 0.0f, &owner);
    empty.Update(0.1f);
    empty.Reset(0.1f);
    EXPECT_FALSE(empty.SetStateByName(""));
    EXPECT_TRUE(Load(empty, Save(empty)));
    empty.Update(0.1f);
    EXPECT_EQ(owner.log, "");
}

TEST(StateMachine, TransitionOutsideTheMachineIsIgnored) {
    Owner owner;
    owner.conditions[0] = true;
    Ref a = MakeState<'A'>();
    a->AddTransition(4, &Owner::Condition<0>, 0.0f);
    Machine machine({a}, 0, 0.0f, &owner);
    machine.Update(0.1f);
    EXPECT_DEBUG_DEATH(machine.Update(0.1f), "outside the machine");
}

TEST(StateMachine, StreamHoldsTimersNamesAndPositionAndLoadsIntoAFreshMachine) {
    Owner owner;
    owner.conditions[0] = true;
    auto machine = BuildAB(&owner);
    machine->Update(0.2f);
    machine->Update(0.2f);
    ASSERT_EQ(Save(*machine), kTwoUpdates);

    auto fresh = BuildAB(&owner);
    ASSERT_TRUE(Load(*fresh, kTwoUpdates));
    EXPECT_EQ(fresh->GetCurrent(), 0);
    EXPECT_EQ(fresh->GetTimeInState(), 0.2f);
    EXPECT_EQ(fresh->GetPending(), Machine::kNone);
    EXPECT_FALSE(fresh->IsFirstUpdate());
    EXPECT_EQ(fresh->GetStates()[0]->GetTransitions()[0].timer, 0.2f);

    fresh->SetStateByName("B");
    const Bytes pending = Save(*fresh);
    auto another = BuildAB(&owner);
    ASSERT_TRUE(Load(*another, pending));
    EXPECT_EQ(another->GetPending(), 1);
    EXPECT_EQ(Save(*another), pending);
}

TEST(StateMachine, IndicesOutsideTheMachineFailTheStreamAndChangeNoPosition) {
    struct Case {
        std::size_t offset;
        std::uint8_t value;
    };
    // Current 5, pending 7, initial 2, first-update flag 2, A's target 9.
    const Case cases[] = {{34, 5}, {38, 7}, {42, 2}, {46, 2}, {0, 9}};
    for (const Case& c : cases) {
        Bytes bytes = kTwoUpdates;
        bytes[c.offset] = c.value;
        if (c.offset == 38) {
            std::fill_n(bytes.begin() + 39, 3, 0);
        }
        Owner owner;
        auto machine = BuildAB(&owner);
        EXPECT_FALSE(Load(*machine, bytes)) << c.offset;
        EXPECT_TRUE(machine->IsFirstUpdate());
        EXPECT_EQ(machine->GetTimeInState(), 0.0f);
    }
    Owner owner;
    auto machine = BuildAB(&owner);
    EXPECT_FALSE(Load(*machine, Bytes(kTwoUpdates.begin(), kTwoUpdates.end() - 1)));
}

TEST(StateMachine, CloneRepointedWithSetOwnerRecursiveDrivesOnlyItsNewOwner) {
    Owner original;
    Owner copyOwner;
    auto machine = BuildNested(&original);
    machine->Update(0.1f);
    Core::RefPtr<Machine> copy(static_cast<Machine*>(machine->Clone()));
    copy->SetOwnerRecursive(&copyOwner);
    copyOwner.conditions[1] = true;
    copy->Update(0.1f);
    EXPECT_EQ(copyOwner.TakeLog(), " -X +Y uY");
    EXPECT_EQ(original.TakeLog(), " +N +X uX");
    EXPECT_EQ(static_cast<const Machine&>(*copy->GetStates()[0]).GetOwner(), &copyOwner);
    EXPECT_EQ(static_cast<const Machine&>(*machine->GetStates()[0]).GetOwner(), &original);
}

}  // namespace
