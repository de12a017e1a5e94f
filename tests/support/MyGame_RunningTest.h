#pragma once

#include <functional>

// The game of the test that runs now, stepped by helpers that live outside
// the test's fixture (clicks, button presses). A program that drives the game
// by its own loop (the screenshot tool) sets no stepper: stepping then does
// nothing, and its loop runs the frames.
namespace mygametest {

using FrameStepper = std::function<void(int frames)>;

// Set by a fixture as its test starts; an empty stepper when it ends.
void SetRunningTestStepper(FrameStepper stepper);

void StepRunningTest(int frames = 1);

}  // namespace mygametest
