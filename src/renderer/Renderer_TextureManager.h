#pragma once

// The process-wide texture cache, one shared texture per file name. It
// exists while the renderer and its OpenGL context do: the renderer creates
// it last in its construction and destroys it first in its destruction.
// Loading and caching are filled in by the texture loader.
class TextureManager {
public:
    static void Create();
    static void Destroy();
    static bool Exists();
};
