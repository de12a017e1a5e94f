#pragma once

#include "core/Core_String.h"

// Extension lists: the space-separated names a driver reports, one entry each.
namespace Renderer {

// Appends every name of the text in order. Names are kept whole, however
// long, and runs of spaces give no empty entries. A null text appends nothing.
void AppendExtensionNames(const char* text, Core::StringVector& names);

// True when an entry equals the name exactly.
bool HasExtension(const Core::StringVector& names, const char* name);

// Appends the window-system extensions of the current context, asked with
// wglGetExtensionsStringARB (on the current device context) when that entry
// point exists, else with wglGetExtensionsStringEXT, else not at all. The
// call is guarded: a failure with an error code ends the process, reported
// as failing in enclosingFunction.
void AppendWGLExtensionNames(Core::StringVector& names, const char* enclosingFunction);

}  // namespace Renderer
