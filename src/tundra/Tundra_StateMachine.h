#pragma once

#include "core/Core_File.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"

#include <cassert>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

// A generic state machine run on behalf of an owner of class T. Every
// callback and condition is a member function of T called with the frame
// time. A machine is itself a state, so machines nest.
//
// Streams hold the changing part only (transition timers, names, minimum
// times, the machine's position); a stream is read back into a machine built
// by the same builder, which supplies the states, callbacks and conditions.
// The classes register no name: owners save their machines inline with
// Save/Load, never as stream objects.
namespace Tundra {

template <class T>
class StateMachine;

template <class T>
class StateBase : public Core::Object {
public:
    using Callback = void (T::*)(float dt);
    using Condition = bool (T::*)(float dt);

    struct Transition {
        // Index of the target in the owning machine's state array.
        std::int32_t target = -1;
        Condition condition = nullptr;
        // How long the condition must hold, frame after frame, before the
        // transition fires (0: at once).
        float holdTime = 0.0f;
        // How long it has held so far.
        float timer = 0.0f;
    };

    static constexpr std::int32_t kNone = -1;

    explicit StateBase(float minimumTime) : m_minimumTime(minimumTime) {}

    virtual void SetEnterCallback(Callback callback) { m_enter = callback; }
    virtual void SetExitCallback(Callback callback) { m_exit = callback; }
    // A deep copy, count 0.
    virtual StateBase* CloneState() const = 0;
    virtual void Reset(T& /*owner*/, float /*dt*/) {
        for (Transition& transition : m_transitions) {
            transition.timer = 0.0f;
        }
    }
    virtual void Update(T& owner, float dt) = 0;
    virtual void Enter(T& owner, float dt) { Call(m_enter, owner, dt); }
    virtual void Exit(T& owner, float dt) { Call(m_exit, owner, dt); }

    // The target of the first transition whose condition has held for its
    // hold time, or kNone. Conditions after the winner are not called; the
    // winner resets every timer of this state.
    virtual std::int32_t CheckTransitions(T& owner, float dt) {
        // By index, re-reading the length: a condition may add transitions.
        for (std::size_t i = 0; i < m_transitions.size(); ++i) {
            const Condition condition = m_transitions[i].condition;
            if (condition == nullptr || !(owner.*condition)(dt)) {
                m_transitions[i].timer = 0.0f;
                continue;
            }
            Transition& transition = m_transitions[i];
            transition.timer += dt;
            if (transition.holdTime <= transition.timer) {
                const std::int32_t target = transition.target;
                transition.timer = 0.0f;
                Reset(owner, dt);
                return target;
            }
        }
        return kNone;
    }

    // A state is cloned as its own class, never as a bare object.
    Core::Object* Clone() const override { return CloneState(); }

    void Save(Core::File& file) const override {
        for (const Transition& transition : m_transitions) {
            file.WriteI32(transition.target);
            file.WriteF32(transition.holdTime);
            file.WriteF32(transition.timer);
        }
        file << m_name;
        file.WriteF32(m_minimumTime);
    }

    // Reads into the transitions the builder made; the owning machine checks
    // the targets against its states. A time that is not finite or is below
    // 0 fails the stream as other damage does (a time in state of NaN would
    // never reach a minimum), and a failed stream changes nothing.
    void Load(Core::File& file) override {
        StreamPart part;
        if (ReadStream(file, part)) {
            TakeStream(part);
        }
    }

    void AddTransition(std::int32_t target, Condition condition, float holdTime) {
        assert(condition != nullptr && "a transition without a condition never fires");
        m_transitions.push_back({target, condition, holdTime, 0.0f});
    }
    const std::vector<Transition>& GetTransitions() const { return m_transitions; }

    void SetName(std::string_view name) { m_name.assign(name); }
    const Core::String& GetName() const { return m_name; }
    float GetMinimumTime() const { return m_minimumTime; }

protected:
    // What the stream holds for one state, read whole and checked before any
    // of it is taken; for a machine, its states' parts and its position.
    struct StreamPart {
        std::vector<Transition> transitions;
        Core::String name;
        float minimumTime = 0.0f;
        std::vector<StreamPart> states;
        float timeInState = 0.0f;
        std::int32_t current = kNone;
        std::int32_t pending = kNone;
        std::int32_t initial = kNone;
        std::uint8_t firstUpdate = 1;
    };

    StateBase(const StateBase&) = default;

    static void Call(Callback callback, T& owner, float dt) {
        if (callback != nullptr) {
            (owner.*callback)(dt);
        }
    }

    static bool IsTime(float seconds) { return std::isfinite(seconds) && seconds >= 0.0f; }

    // False, the stream failed, when the part is damaged.
    virtual bool ReadStream(Core::File& file, StreamPart& part) const {
        part.transitions = m_transitions;
        for (Transition& transition : part.transitions) {
            file.ReadI32(transition.target);
            file.ReadF32(transition.holdTime);
            file.ReadF32(transition.timer);
            if (!IsTime(transition.holdTime) || !IsTime(transition.timer)) {
                file.SetFailed();
            }
        }
        part.name = m_name;
        file >> part.name;
        part.minimumTime = m_minimumTime;
        file.ReadF32(part.minimumTime);
        if (!IsTime(part.minimumTime)) {
            file.SetFailed();
        }
        return !file.HasFailed();
    }
    virtual void TakeStream(const StreamPart& part) {
        m_transitions = part.transitions;
        m_name = part.name;
        m_minimumTime = part.minimumTime;
    }

private:
    // A machine reads and takes the parts of its states.
    friend class StateMachine<T>;

    std::vector<Transition> m_transitions;
    Core::String m_name;
    Callback m_enter = nullptr;
    Callback m_exit = nullptr;
    float m_minimumTime = 0.0f;
};

template <class T>
class State : public StateBase<T> {
public:
    using typename StateBase<T>::Callback;

    explicit State(float minimumTime) : StateBase<T>(minimumTime) {}

    StateBase<T>* CloneState() const override { return TUN_NEW(State, *this); }
    void Update(T& owner, float dt) override { StateBase<T>::Call(m_update, owner, dt); }
    virtual void SetUpdateCallback(Callback callback) { m_update = callback; }

private:
    Callback m_update = nullptr;
};

template <class T>
class StateMachine : public StateBase<T> {
public:
    using Base = StateBase<T>;
    using Base::kNone;
    using StateList = std::vector<Core::RefPtr<Base>>;

    // The machine starts not yet entered, at initial. An initial index
    // outside the states leaves the machine idle (an empty one does nothing).
    StateMachine(const StateList& states, std::int32_t initial, float minimumTime, T* owner)
        : Base(minimumTime), m_states(states), m_owner(owner), m_current(initial), m_initial(initial) {
        assert((states.empty() || IsStateIndex(initial)) && "initial state outside the machine");
    }

    StateMachine(const StateMachine& other)
        : Base(other),
          m_owner(other.m_owner),
          m_timeInState(other.m_timeInState),
          m_current(other.m_current),
          m_pending(other.m_pending),
          m_initial(other.m_initial),
          m_firstUpdate(other.m_firstUpdate) {
        m_states.reserve(other.m_states.size());
        for (const Core::RefPtr<Base>& state : other.m_states) {
            m_states.emplace_back(state->CloneState());
        }
    }

    Base* CloneState() const override { return TUN_NEW(StateMachine, *this); }

    // Back to not yet entered at the initial state, every timer at 0. No
    // callback runs; the next update enters the initial state.
    void Reset(T& owner, float dt) override {
        Base::Reset(owner, dt);
        m_timeInState = 0.0f;
        m_current = m_initial;
        m_firstUpdate = true;
        m_pending = kNone;
        for (std::size_t i = 0; i < m_states.size(); ++i) {
            m_states[i]->Reset(owner, dt);
        }
    }

    // The first update enters the current state; later ones take the pending
    // switch, or test the current state's transitions once its minimum time
    // has passed. The (new) current state is updated in every case.
    void Update(T& owner, float dt) override {
        if (!IsStateIndex(m_current)) {
            return;
        }
        // Callbacks may drop the owner's hold on this machine.
        const Core::RefPtr<StateMachine> held(this->GetReferenceCount() > 0 ? this : nullptr);
        if (m_firstUpdate) {
            m_timeInState = 0.0f;
            m_firstUpdate = false;
            m_states[m_current]->Enter(owner, dt);
        } else if (m_pending != kNone) {
            SwitchTo(m_pending, owner, dt);
            m_pending = kNone;
            return;
        } else {
            m_timeInState += dt;
            Base& current = *m_states[m_current];
            if (current.GetMinimumTime() <= m_timeInState) {
                const std::int32_t target = current.CheckTransitions(owner, dt);
                if (target != kNone) {
                    assert(IsStateIndex(target) && "transition to a state outside the machine");
                    if (IsStateIndex(target)) {
                        SwitchTo(target, owner, dt);
                        return;
                    }
                }
            }
        }
        m_states[m_current]->Update(owner, dt);
    }

    // A nested machine that is left starts over when entered again.
    void Exit(T& owner, float dt) override { Reset(owner, dt); }

    // With the stored owner; nothing without one.
    void Update(float dt) {
        if (m_owner != nullptr) {
            Update(*m_owner, dt);
        }
    }
    void Reset(float dt) {
        if (m_owner != nullptr) {
            Reset(*m_owner, dt);
        }
    }

    // The state of that name becomes current at once while the machine has
    // not been entered, else it is taken at the next update. False (and no
    // change) when no state has that name.
    bool SetStateByName(std::string_view name) {
        for (std::size_t i = 0; i < m_states.size(); ++i) {
            if (std::string_view(m_states[i]->GetName()) == name) {
                (m_firstUpdate ? m_current : m_pending) = static_cast<std::int32_t>(i);
                return true;
            }
        }
        return false;
    }

    // The owner of this machine and of every machine nested in it, as a
    // clone needs once it has a new owner.
    void SetOwnerRecursive(T* owner) {
        m_owner = owner;
        for (const Core::RefPtr<Base>& state : m_states) {
            if (auto* nested = dynamic_cast<StateMachine*>(state.Get())) {
                nested->SetOwnerRecursive(owner);
            }
        }
    }

    void Save(Core::File& file) const override {
        for (const Core::RefPtr<Base>& state : m_states) {
            state->Save(file);
        }
        file.WriteF32(m_timeInState);
        file.WriteI32(m_current);
        file.WriteI32(m_pending);
        file.WriteI32(m_initial);
        file.WriteU8(m_firstUpdate ? 1 : 0);
    }

    const StateList& GetStates() const { return m_states; }
    T* GetOwner() const { return m_owner; }
    float GetTimeInState() const { return m_timeInState; }
    std::int32_t GetCurrent() const { return m_current; }
    std::int32_t GetPending() const { return m_pending; }
    std::int32_t GetInitial() const { return m_initial; }
    bool IsFirstUpdate() const { return m_firstUpdate; }

protected:
    using typename Base::StreamPart;

    // An index outside the states (or a transition aiming there) fails the
    // stream, as times that are not times do in every state. An empty machine
    // has no index to check: it does nothing whatever it holds.
    bool ReadStream(Core::File& file, StreamPart& part) const override {
        part.states.resize(m_states.size());
        for (std::size_t i = 0; i < m_states.size(); ++i) {
            m_states[i]->ReadStream(file, part.states[i]);
            for (const typename Base::Transition& transition : part.states[i].transitions) {
                if (!IsStateIndex(transition.target)) {
                    file.SetFailed();
                }
            }
        }
        part.timeInState = m_timeInState;
        part.current = m_current;
        part.pending = m_pending;
        part.initial = m_initial;
        part.firstUpdate = m_firstUpdate ? 1 : 0;
        file.ReadF32(part.timeInState);
        file.ReadI32(part.current);
        file.ReadI32(part.pending);
        file.ReadI32(part.initial);
        file.ReadU8(part.firstUpdate);
        const bool indicesValid =
            m_states.empty() || (IsStateIndex(part.current) && IsStateIndex(part.initial) &&
                                 (part.pending == kNone || IsStateIndex(part.pending)));
        if (!indicesValid || part.firstUpdate > 1 || !Base::IsTime(part.timeInState)) {
            file.SetFailed();
        }
        return !file.HasFailed();
    }
    void TakeStream(const StreamPart& part) override {
        for (std::size_t i = 0; i < m_states.size(); ++i) {
            m_states[i]->TakeStream(part.states[i]);
        }
        m_timeInState = part.timeInState;
        m_current = part.current;
        m_pending = part.pending;
        m_initial = part.initial;
        m_firstUpdate = part.firstUpdate != 0;
    }

private:
    bool IsStateIndex(std::int32_t index) const {
        return index >= 0 && static_cast<std::size_t>(index) < m_states.size();
    }

    // Leaves the current state and enters and updates the target; the time
    // in state counts again from the next update.
    void SwitchTo(std::int32_t target, T& owner, float dt) {
        m_timeInState = 0.0f;
        m_states[m_current]->Exit(owner, dt);
        m_current = target;
        m_states[m_current]->Enter(owner, dt);
        m_states[m_current]->Update(owner, dt);
    }

    StateList m_states;
    T* m_owner = nullptr;
    float m_timeInState = 0.0f;
    std::int32_t m_current = kNone;
    std::int32_t m_pending = kNone;
    std::int32_t m_initial = kNone;
    bool m_firstUpdate = true;
};

}  // namespace Tundra
