#pragma once

#include "support/Renderer_OffscreenFixture.h"

#include <vector>

namespace testsupport {

// What OpenGL should hold for each state the renderer caches, in
// glGetFloatv's terms: ExpectGL of it checks that cache and context agree.
std::vector<OffscreenRendererTest::GLValue> CachedGLValues(Renderer::OGLRenderer& renderer);

}  // namespace testsupport
