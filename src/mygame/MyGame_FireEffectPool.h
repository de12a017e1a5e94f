#pragma once

#include <cstddef>

namespace Core {
class File;
}
class PS_FireDebuff;

// The idle fire effects, kept in the world layer for reuse. The pool holds a
// reference to each; an effect destroyed meanwhile is dropped, never handed out.

// A started, visible fire effect: the last idle one, or else a clone of the
// fire template added to the world layer; null when neither exists.
PS_FireDebuff* TakeFireEffectFromPool();
// An idle effect joins the pool; null is ignored.
void ReturnFireEffectToPool(PS_FireDebuff* effect);
// Forgets every idle effect (the level ending frees them with its layers).
void ClearFireEffectPool();
std::size_t GetFireEffectPoolSize();

// The pool as object references, in order; a load that fails keeps the pool.
void SaveFireEffectPool(Core::File& file);
void LoadFireEffectPool(Core::File& file);
