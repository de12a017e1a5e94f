#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_StateMachine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Logs " +X" on entering state X, " uX" on updating it, " -X" on leaving it
// and " ?I" when condition I is asked; condition I answers conditions[I].
struct Owner {
    template <char Name>
    void Enter(float) { log += std::string(" +") + Name; }
    template <char Name>
    void Update(float) { log += std::string(" u") + Name; }
    template <char Name>
    void Exit(float) { log += std::string(" -") + Name; }
    template <int I>
    bool Condition(float) {
        log += " ?" + std::to_string(I);
        return conditions[I];
    }
    std::string TakeLog() { return std::exchange(log, {}); }

    std::string log;
    std::array<bool, 3> conditions{};
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

// A goes to B on condition 0 and to C on condition 1, both at once.
Core::RefPtr<Machine> BuildABC(Owner* owner) {
    Ref a = MakeState<'A'>();
    a->AddTransition(1, &Owner::Condition<0>, 0.0f);
    a->AddTransition(2, &Owner::Condition<1>, 0.0f);
    return TUN_NEW(Machine, Machine::StateList{a, MakeState<'B'>(), MakeState<'C'>()}, 0, 0.0f, owner);
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

// kTwoUpdates with the bytes at offset replaced.
Bytes Patched(std::size_t offset, const Bytes& patch) {
    Bytes bytes = kTwoUpdates;
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

TEST(StateMachine, UpdatesEnterSwitchAndAskConditionsAsScheduled) {
    // Steps "conditions[>state]|log;...": before each update the conditions
    // are set ("101": 0 and 2 true) and a state is chosen by name; then the
    // update must leave the log.
    struct Scenario {
        Core::RefPtr<Machine> (*build)(Owner*);
        float dt;
        const char* steps;
    };
    const Scenario scenarios[] = {
        {[](Owner* o) { return BuildAB(o, 0.0f); }, 0.1f, "100| +A uA;100| ?0 -A +B uB"},
        // Hold 0.5 at dt 0.2: the third true frame fires; a false frame restarts the count.
        {[](Owner* o) { return BuildAB(o); }, 0.2f, "100| +A uA;100| ?0 uA;100| ?0 uA;100| ?0 -A +B uB"},
        {[](Owner* o) { return BuildAB(o); }, 0.2f, "100| +A uA;100| ?0 uA;000| ?0 uA;100| ?0 uA;100| ?0 uA;100| ?0 -A +B uB"},
        {&BuildABC, 0.1f, "110| +A uA;110| ?0 -A +B uB"},
        {[](Owner* o) { return BuildAB(o, 0.5f, 1.0f); }, 0.25f, "100| +A uA;100| uA;100| uA;100| uA;100| ?0 uA"},
        {&BuildNested, 0.1f, "010| +N +X uX;010| ?0 ?0 ?1 -X +Y uY;100| ?0 ?0 +B uB;001| ?2 -B +N +X uX"},
        {[](Owner* o) { return BuildAB(o); }, 0.1f, "000| +A uA;000>A| -A +A uA;000| ?0 uA"},
        {[](Owner* o) { return BuildAB(o); }, 0.1f, "100>B| +B uB"},
    };
    for (const Scenario& scenario : scenarios) {
        Owner owner;
        auto machine = scenario.build(&owner);
        std::istringstream steps(scenario.steps);
        for (std::string step; std::getline(steps, step, ';');) {
            const std::size_t bar = step.find('|');
            for (std::size_t c = 0; c < owner.conditions.size(); ++c) {
                owner.conditions[c] = step[c] == '1';
            }
            if (step[3] == '>') {
                ASSERT_TRUE(machine->SetStateByName(step.substr(4, bar - 4)));
            }
            machine->Update(scenario.dt);
            EXPECT_EQ(owner.TakeLog(), step.substr(bar + 1)) << scenario.steps;
        }
    }
}

TEST(StateMachine, NestedMachineLeftByAWinIsResetWithItsOwnTimers) {
    Owner owner;
    auto machine = BuildNested(&owner);
    const auto& nested = static_cast<const Machine&>(*machine->GetStates()[0]);
    owner.conditions = {false, true, false};
    machine->Update(0.1f);
    machine->Update(0.1f);
    // The quick transition wins while the slow one has started counting.
    owner.conditions = {true, false, false};
    machine->Update(0.1f);
    EXPECT_EQ(machine->GetCurrent(), 1);
    EXPECT_TRUE(nested.IsFirstUpdate());
    EXPECT_EQ(nested.GetCurrent(), 0);
    EXPECT_EQ(nested.GetTransitions()[0].timer, 0.0f);
    EXPECT_FALSE(machine->SetStateByName("X"));
}

TEST(StateMachine, WithoutOwnerOrStatesOrAValidTargetNothingHappens) {
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

    Ref a = MakeState<'A'>();
    a->AddTransition(4, &Owner::Condition<0>, 0.0f);
    Machine outside({a}, 0, 0.0f, &owner);
    owner.conditions[0] = true;
    outside.Update(0.1f);
    EXPECT_DEBUG_DEATH(outside.Update(0.1f), "outside the machine");
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
    // Current 5, pending 7, initial 2, first-update flag 2, A's target 9, one byte short.
    const Bytes streams[] = {Patched(34, {5}), Patched(38, {7, 0, 0, 0}), Patched(42, {2}),
                             Patched(46, {2}), Patched(0, {9}), Bytes(kTwoUpdates.begin(), kTwoUpdates.end() - 1)};
    for (const Bytes& bytes : streams) {
        Owner owner;
        auto machine = BuildAB(&owner);
        EXPECT_FALSE(Load(*machine, bytes));
        EXPECT_TRUE(machine->IsFirstUpdate());
        EXPECT_EQ(machine->GetTimeInState(), 0.0f);
    }
}

// A time in state of NaN would never reach a minimum: a time that is not
// finite or is below 0 fails the stream wherever it stands, and the machine
// keeps everything it had, the states read before the damage too.
TEST(StateMachine, TimesNotFiniteOrNegativeFailTheStreamAndChangeNothing) {
    // A's hold time and timer, A's and B's minimum times, the time in state.
    const std::size_t timeOffsets[] = {4, 8, 17, 26, 30};
    const Bytes notTimes[] = {{0x00, 0x00, 0xC0, 0x7F}, {0x00, 0x00, 0x80, 0x7F}, {0x00, 0x00, 0x80, 0xBF}};
    for (const std::size_t offset : timeOffsets) {
        for (const Bytes& notTime : notTimes) {
            Owner owner;
            owner.conditions[0] = true;
            auto machine = BuildAB(&owner);
            machine->Update(0.1f);
            machine->Update(0.1f);
            const Bytes before = Save(*machine);
            EXPECT_FALSE(Load(*machine, Patched(offset, notTime))) << offset << " " << int{notTime[3]};
            EXPECT_EQ(Save(*machine), before) << offset << " " << int{notTime[3]};
        }
    }
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
    EXPECT_EQ(copyOwner.TakeLog(), " ?0 ?0 ?1 -X +Y uY");
    EXPECT_EQ(original.TakeLog(), " +N +X uX");
    EXPECT_EQ(static_cast<const Machine&>(*copy->GetStates()[0]).GetOwner(), &copyOwner);
    EXPECT_EQ(static_cast<const Machine&>(*machine->GetStates()[0]).GetOwner(), &original);
}

}  // namespace
