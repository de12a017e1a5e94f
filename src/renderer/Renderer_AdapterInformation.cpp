#include "renderer/Renderer_AdapterInformation.h"

namespace Renderer {

AdapterInformation::AdapterInformation() : m_adapter(Renderer::GetAdapter()) {
    if (!m_adapter) {
        m_adapter = CreateAdapter();
    }
}

}  // namespace Renderer
