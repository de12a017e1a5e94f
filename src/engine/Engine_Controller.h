#pragma once

#include "core/Core_Object.h"

namespace Engine {

class Node;

// Something that drives a node every update. Nothing in the engine makes
// one yet; nodes keep, update, clone and detach them all the same.
class Controller : public Core::Object {
public:
    // Every controller class clones itself as its own class.
    Core::Object* Clone() const override = 0;
    // The node it drives; null detaches it.
    virtual void Attach(Node* node) { m_node = node; }
    virtual void Update(float dt) {}
    Node* GetNode() const { return m_node; }

private:
    Node* m_node = nullptr;
};

}  // namespace Engine
