#pragma once

#include "tundra/Tundra_StateMachine.h"

// One plain state appended to a machine's state list under construction,
// named and with its callbacks (null for none); the caller adds its
// transitions.
template <class T>
Tundra::State<T>* AppendState(typename Tundra::StateMachine<T>::StateList& states, const char* name,
                              float minimumTime, typename Tundra::State<T>::Callback enter,
                              typename Tundra::State<T>::Callback update, typename Tundra::State<T>::Callback exit) {
    auto* state = TUN_NEW(Tundra::State<T>, minimumTime);
    states.emplace_back(state);
    state->SetName(name);
    state->SetEnterCallback(enter);
    state->SetUpdateCallback(update);
    state->SetExitCallback(exit);
    return state;
}
