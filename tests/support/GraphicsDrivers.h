#pragma once

namespace testsupport {

// The OpenGL drivers that SDL loads for a window are unloaded again when
// video stops. Their leftovers are then reported at exit from an unknown
// module, which no suppression can name; keeping the drivers mapped lets the
// sanitizer name them (lsan.supp). Call before the first window is made.
void KeepGraphicsDriversLoaded();

}  // namespace testsupport
