// System::Object: the counted base of the base library's classes.
#pragma once

#include <cstdint>

namespace System {

// A new object has count 0. SmartPtr adds and drops references; whoever
// lowers the count from 1 to 0 calls Destroy. Counts are plain integers:
// an object and everything that refers to it belong to one thread at a time.
class Object {
public:
    Object() noexcept = default;
    // A copy is a new object: it does not inherit the original's holders.
    Object(const Object&) noexcept {}
    Object& operator=(const Object&) noexcept { return *this; }
    virtual ~Object() = default;

    // Ends the object's life once its count is zero. Objects allocated with
    // new are deleted; classes with other storage override it.
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

}  // namespace System
