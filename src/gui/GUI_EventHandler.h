#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>

namespace GUI {

// Mouse buttons as the events name them.
constexpr std::uint32_t kMouseButtonLeft = 0;
constexpr std::uint32_t kMouseButtonMiddle = 1;
constexpr std::uint32_t kMouseButtonRight = 2;
constexpr std::uint32_t kMouseButtonNone = 3;

// The argument of the mouse move, up and down events (and of the never
// raised list 12). The two zero words have no reader; they keep the record's
// shape for handlers written against it.
struct MouseEventRecord {
    std::uint32_t button = kMouseButtonNone;
    std::uint32_t reserved[2] = {0, 0};
    Vector2D position;
};

// One entry of a control's event list. Handlers are never streamed: a loaded
// control gets its handlers again from whoever builds or loads it.
template <class Sender>
class MemberFunctionBase1Param {
public:
    virtual ~MemberFunctionBase1Param() = default;
    // event: the record of lists 9 to 12, null for the others.
    virtual void Invoke(Sender sender, const MouseEventRecord* event) = 0;
    // The object the handler calls into (null when it names none), so that
    // an object going away can take its handlers out of the lists.
    virtual const void* GetTarget() const = 0;
    // The no-duplicate rule of the lists: same object and same member.
    virtual bool IsSameAs(const MemberFunctionBase1Param& other) const = 0;
};

// Calls a member of Target, taking the sender, on one object.
template <class Target, class Sender>
class MemberFunction1Param final : public MemberFunctionBase1Param<Sender> {
public:
    using Member = void (Target::*)(Sender);

    MemberFunction1Param(Target* object, Member member) : m_object(object), m_member(member) {}

    void Invoke(Sender sender, const MouseEventRecord*) override {
        if (m_object != nullptr && m_member != nullptr) {
            (m_object->*m_member)(sender);
        }
    }
    const void* GetTarget() const override { return m_object; }
    bool IsSameAs(const MemberFunctionBase1Param<Sender>& other) const override {
        const auto* same = dynamic_cast<const MemberFunction1Param*>(&other);
        return same != nullptr && same->m_object == m_object && same->m_member == m_member;
    }

private:
    Target* m_object;
    Member m_member;
};

}  // namespace GUI
