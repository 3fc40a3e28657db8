// SmartPtr<T>: the intrusive smart pointer of the system. T is any class with
// AddRef and Release: RefObject, RefObject16 or System::Object.
#pragma once

#include <cstddef>
#include <utility>

#include "modules/system/Exception.h"

namespace SmartPtrDetail {
[[noreturn]] void RaiseNullPointer();
}

template <class T>
class SmartPtr {
public:
    SmartPtr() noexcept = default;
    SmartPtr(std::nullptr_t) noexcept {}
    SmartPtr(T* object) : object_(object) {
        if (object_)
            object_->AddRef();
    }
    SmartPtr(const SmartPtr& other) : object_(other.object_) {
        if (object_)
            object_->AddRef();
    }
    template <class U>
    SmartPtr(const SmartPtr<U>& other) : object_(other.Get()) {
        if (object_)
            object_->AddRef();
    }
    SmartPtr(SmartPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~SmartPtr() {
        if (object_)
            object_->Release();
    }

    // The new object gains its reference before the old one loses its own,
    // so assigning an object to the pointer that already holds it is safe.
    SmartPtr& operator=(T* object) {
        if (object)
            object->AddRef();
        T* old = std::exchange(object_, object);
        if (old)
            old->Release();
        return *this;
    }
    SmartPtr& operator=(const SmartPtr& other) { return *this = other.object_; }
    SmartPtr& operator=(SmartPtr&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(object_, std::exchange(other.object_, nullptr));
            if (old)
                old->Release();
        }
        return *this;
    }

    void Reset() { *this = nullptr; }

    T* operator->() const {
        if (!object_)
            SmartPtrDetail::RaiseNullPointer();
        return object_;
    }
    T& operator*() const {
        if (!object_)
            SmartPtrDetail::RaiseNullPointer();
        return *object_;
    }

    // Unchecked access.
    T* Get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    bool IsNull() const noexcept { return object_ == nullptr; }

    friend bool operator==(const SmartPtr& a, const SmartPtr& b) noexcept {
        return a.object_ == b.object_;
    }
    friend bool operator==(const SmartPtr& a, std::nullptr_t) noexcept {
        return a.object_ == nullptr;
    }
    friend bool operator==(const SmartPtr& a, const T* b) noexcept { return a.object_ == b; }

private:
    T* object_ = nullptr;
};
