#include "core/Core_Object.h"

namespace Plugin {

// Nothing refers to this class: only its registration keeps it alive.
class Widget : public Core::Object {
    TUN_DECLARE_CLASS(Widget);
};

}  // namespace Plugin

TUN_DEFINE_CLASS(Plugin::Widget)
