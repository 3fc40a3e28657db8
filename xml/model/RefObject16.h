// RefObject16: an intrusively counted base with a 16-bit count, the base
// through which element objects are counted.
#pragma once

#include <cstdint>

class RefObject16 {
public:
    static constexpr std::uint16_t kMaxReferences = 0xFFFF;

    RefObject16() noexcept = default;
    RefObject16(const RefObject16&) noexcept {}
    RefObject16& operator=(const RefObject16&) noexcept { return *this; }
    virtual ~RefObject16() = default;

    virtual void Destroy() { delete this; }

    // A 65536th reference would wrap the count to 0 and let the next release
    // destroy a live object; it raises a core error instead.
    void AddRef() {
        if (count_ == kMaxReferences)
            RaiseCountOverflow();
        ++count_;
    }
    void Release() {
        if (--count_ == 0)
            Destroy();
    }
    std::uint16_t GetRefCount() const noexcept { return count_; }

private:
    [[noreturn]] static void RaiseCountOverflow();

    std::uint16_t count_ = 0;
};
