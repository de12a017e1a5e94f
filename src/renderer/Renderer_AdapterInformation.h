#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Adapter.h"

namespace Renderer {

// A holder of the shared display adapter: a holder that finds no adapter
// makes it, later ones share it, and it goes with the last holder (its
// reference count counts the holders).
class AdapterInformation {
public:
    AdapterInformation();
    AdapterInformation(const AdapterInformation&) = delete;
    AdapterInformation& operator=(const AdapterInformation&) = delete;

    Adapter& GetAdapter() const { return *m_adapter; }

private:
    Core::RefPtr<Adapter> m_adapter;
};

}  // namespace Renderer
