#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <vector>

namespace Tundra {

// Every game object keeps one; the objects it holds are released with it.
class TunComponentManager : public Core::Object {
    TUN_DECLARE_CLASS(TunComponentManager);
    TunComponentManager() = default;

private:
    std::vector<Core::RefPtr<Core::Object>> m_components;
};

}  // namespace Tundra
