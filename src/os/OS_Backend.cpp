#include "os/OS_Backend.h"

#include <atomic>

namespace os {
namespace {
std::atomic<Backend> g_backend{Backend::Real};
}

void SelectBackend(Backend backend) { g_backend.store(backend, std::memory_order_relaxed); }

bool IsHeadless() { return g_backend.load(std::memory_order_relaxed) == Backend::Headless; }

}  // namespace os
