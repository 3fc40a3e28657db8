// Implementation helper for component classes: thread-safe reference
// counting and QueryInterface over the listed interfaces and their bases.
//
// A listed class may also be a shared implementation of an interface rather
// than an interface: it then declares `using Base = TheInterface;` and
// `static constexpr bool kImplementsBase = true;`.
#pragma once

#include <atomic>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/com/ComPtr.h"
#include "platform/com/Unknown.h"

namespace platform::com {

template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HResult QueryInterface(const Guid& iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid == IUnknown::kIid) {
            *object = static_cast<IUnknown*>(static_cast<First*>(this));
        } else if (!Find<First>(iid, object)) {
            if constexpr (sizeof...(Rest) > 0)
                (void)(Find<Rest>(iid, object) || ...);
        }
        if (*object && !Answers(iid))
            *object = nullptr;
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
    std::uint32_t Release() override {
        const std::uint32_t left = count_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

    // Lets a class refuse an interface of its list at run time (a DOM node
    // that is not an element does not answer the element interface).
    virtual bool Answers(const Guid& iid) const {
        (void)iid;
        return true;
    }

private:
    template <class I, class Walk = I>
    bool Find(const Guid& iid, void** object) {
        if constexpr (std::is_same_v<Walk, IUnknown>) {
            return false;
        } else if constexpr (requires { Walk::kImplementsBase; }) {
            // A shared implementation of an interface: answer for its base.
            return Find<I, typename Walk::Base>(iid, object);
        } else {
            if (iid == Walk::kIid) {
                *object = static_cast<Walk*>(static_cast<I*>(this));
                return true;
            }
            return Find<I, typename Walk::Base>(iid, object);
        }
    }

    std::atomic<std::uint32_t> count_{0};
};

// Creates an object of class T (a ComObject) and returns its interface I.
template <class T, class I, class... Args>
HResult MakeObject(ComPtr<I>& out, Args&&... args) {
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object) {
        out.Reset();
        return E_OUTOFMEMORY;
    }
    ComPtr<T> holder(object);
    return holder->QueryInterface(I::kIid, out.PutVoid());
}

}  // namespace platform::com
