// The process-wide table of component classes: class id -> creation
// function. CreateInstance consults it, so removing or replacing an entry
// (ScopedClassOverride) makes "class not installed" and "creation fails"
// real cases for the code that creates components.
#pragma once

#include <functional>
#include <mutex>
#include <unordered_map>

#include "platform/com/ComPtr.h"
#include "platform/com/Guid.h"
#include "platform/com/Unknown.h"

namespace platform::com {

// Creates a new object and queries it for `iid`.
using ClassFactory = std::function<HResult(const Guid& iid, void** object)>;

class ClassTable {
public:
    // The table of the process. The built-in components (the parser
    // components) are registered before the first use returns.
    static ClassTable& Instance();

    // Registers or replaces the class; returns the previous factory (empty
    // when there was none). An empty factory removes the class.
    ClassFactory Register(const Guid& clsid, ClassFactory factory);
    // Removes the class; returns the previous factory (empty when none).
    ClassFactory Unregister(const Guid& clsid);
    ClassFactory Lookup(const Guid& clsid) const;
    bool IsRegistered(const Guid& clsid) const;

private:
    ClassTable() = default;

    mutable std::mutex mutex_;
    std::unordered_map<Guid, ClassFactory, GuidHash> classes_;
};

// Creates an instance of the class and queries it for `iid`:
// REGDB_E_CLASSNOTREG when the class is not in the table, E_POINTER for a
// null `object`, else the factory's result.
HResult CreateInstance(const Guid& clsid, const Guid& iid, void** object);

template <class T>
HResult CreateInstance(const Guid& clsid, ComPtr<T>& out) {
    return CreateInstance(clsid, T::kIid, out.PutVoid());
}

// Objects that need a step between creation and use answer this interface;
// RunObject drives it.
class IRunnableObject : public IUnknown {
public:
    using Base = IUnknown;
    static constexpr Guid kIid = MakeGuid("{83DF6855-7FBE-47BE-B291-EB27C39A5A67}");

    virtual HResult run() = 0;
    virtual bool isRunning() = 0;

protected:
    ~IRunnableObject() = default;
};

// Puts the object into the running state: S_OK for objects that have no
// such step, else the result of their run(). E_INVALIDARG for null.
HResult RunObject(IUnknown* object);

// Replaces (or, with an empty factory, removes) a class for the lifetime of
// the scope and then restores what was registered before.
class ScopedClassOverride {
public:
    ScopedClassOverride(const Guid& clsid, ClassFactory replacement);
    ~ScopedClassOverride();
    ScopedClassOverride(const ScopedClassOverride&) = delete;
    ScopedClassOverride& operator=(const ScopedClassOverride&) = delete;

private:
    Guid clsid_;
    ClassFactory previous_;
};

// A factory that always fails with `code` (for tests of creation failures).
ClassFactory FailingFactory(HResult code);

}  // namespace platform::com
