// The base interface of every component object: identity by interface id,
// shared ownership by reference counting.
#pragma once

#include <cstdint>

#include "platform/com/Guid.h"
#include "platform/com/Result.h"

namespace platform::com {

// Interfaces derive from IUnknown (or from another interface) and name their
// direct base as `Base` and their id as `kIid`, so that ComObject can answer
// QueryInterface for the whole chain.
//
// Ownership: QueryInterface and every operation that hands out an interface
// add a reference that the receiver must Release (ComPtr does it). Objects
// start with a count of 0; the creator takes the first reference by querying.
class IUnknown {
public:
    static constexpr Guid kIid = MakeGuid("{00000000-0000-0000-C000-000000000046}");

    // On success stores the interface pointer in *object and adds a reference;
    // otherwise stores null and returns E_NOINTERFACE.
    virtual HResult QueryInterface(const Guid& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

}  // namespace platform::com
