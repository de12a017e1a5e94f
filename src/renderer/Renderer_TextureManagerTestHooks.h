#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "renderer/Renderer_ITexture.h"

#include <functional>

// Lets tests without OpenGL stand textures in for image files: while a
// factory is installed, TextureManager::GetTexture answers every request with
// what the factory gives for (file name, mipmaps), with or without a
// renderer, and loads no file. Caching by name is the factory's business.
namespace Renderer {

using TextureFactory = std::function<Core::RefPtr<ITexture>(const Core::String& fileName, bool mipmaps)>;

// An empty factory restores the real cache.
void SetTextureFactoryForTesting(TextureFactory factory);

}  // namespace Renderer
