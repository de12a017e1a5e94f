#pragma once

#include "core/Core_String.h"

// Where the running program lives. Resource and diagnostic paths are built by
// appending a path that starts with a backslash to the directory
// (GetExecutableDirectory() + "\\Resources\\Sounds\\"). Both split the
// program's path at its last '/' or '\'; both are empty when the system
// cannot tell the path.

// The file name without its directory; the whole path when it has no separator.
Core::String GetExecutableFileName();

// The directory without a trailing separator; empty when the path has no separator.
Core::String GetExecutableDirectory();
