#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace Core {

// Holds one reference to a counted object: taking an object adds a
// reference, letting go releases it (destroying the object at 0).
template <class T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}
    RefPtr(T* object) : m_object(object) { Acquire(); }
    RefPtr(const RefPtr& other) : m_object(other.m_object) { Acquire(); }
    RefPtr(RefPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}

    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const RefPtr<U>& other) : m_object(other.Get()) {
        Acquire();
    }

    ~RefPtr() { Let(); }

    RefPtr& operator=(const RefPtr& other) {
        Reset(other.m_object);
        return *this;
    }

    RefPtr& operator=(RefPtr&& other) noexcept {
        if (this != &other) {
            Let();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }

    RefPtr& operator=(T* object) {
        Reset(object);
        return *this;
    }

    // Takes the new object before letting go of the old one, so that
    // resetting to the object already held cannot destroy it.
    void Reset(T* object = nullptr) {
        T* old = m_object;
        m_object = object;
        Acquire();
        if (old != nullptr) {
            old->Release();
        }
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.m_object == b.m_object; }
    friend bool operator==(const RefPtr& a, const T* b) { return a.m_object == b; }
    friend bool operator==(const RefPtr& a, std::nullptr_t) { return a.m_object == nullptr; }

private:
    void Acquire() {
        if (m_object != nullptr) {
            m_object->AddReference();
        }
    }

    void Let() {
        if (m_object != nullptr) {
            std::exchange(m_object, nullptr)->Release();
        }
    }

    T* m_object = nullptr;
};

}  // namespace Core
