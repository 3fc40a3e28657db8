// RefObject: an intrusively counted base with a 32-bit count.
#pragma once

#include <cstdint>

class RefObject {
public:
    RefObject() noexcept = default;
    RefObject(const RefObject&) noexcept {}
    RefObject& operator=(const RefObject&) noexcept { return *this; }
    virtual ~RefObject() = default;

    // Ends the object's life through its most derived destructor and frees
    // its memory.
    virtual void Destroy() { delete this; }

    void AddRef() noexcept { ++count_; }
    void Release() {
        if (--count_ == 0)
            Destroy();
    }
    std::int32_t GetRefCount() const noexcept { return count_; }

private:
    std::int32_t count_ = 0;
};
