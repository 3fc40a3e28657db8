// Owning smart pointer for component interfaces: holds one reference.
#pragma once

#include <cstddef>
#include <utility>

#include "platform/com/Unknown.h"

namespace platform::com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on `p`.
    ComPtr(T* p) : p_(p) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U>
    ComPtr(const ComPtr<U>& other) : ComPtr(static_cast<T*>(other.Get())) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    void Reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    // Gives up the reference without releasing it.
    T* Detach() { return std::exchange(p_, nullptr); }
    // Takes over a reference that the caller already holds.
    void Attach(T* p) {
        Reset();
        p_ = p;
    }
    static ComPtr Adopt(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    // Out-parameter access: drops the current reference first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // QueryInterface for U; `out` is reset on failure.
    template <class U>
    HResult As(ComPtr<U>& out) const {
        if (!p_) {
            out.Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(U::kIid, out.PutVoid());
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) { return a.p_ == nullptr; }

private:
    T* p_ = nullptr;
};

// QueryInterface on a raw pointer into a ComPtr.
template <class U, class T>
HResult QueryInterfaceTo(T* object, ComPtr<U>& out) {
    if (!object) {
        out.Reset();
        return E_POINTER;
    }
    return object->QueryInterface(U::kIid, out.PutVoid());
}

}  // namespace platform::com
