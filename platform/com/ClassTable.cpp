#include "platform/com/ClassTable.h"

namespace platform::xml {
// Defined with the parser components; registers their classes.
void RegisterParserComponents(platform::com::ClassTable& table);
}  // namespace platform::xml

namespace platform::com {

ClassTable& ClassTable::Instance() {
    // Built-in classes are registered when the table is first used rather
    // than from static registrar objects: this keeps them independent of
    // static initialisation order and of whether the linker keeps an object
    // file that nothing references (programs linking the archive normally).
    static ClassTable* table = [] {
        auto* t = new ClassTable;
        platform::xml::RegisterParserComponents(*t);
        return t;
    }();
    return *table;
}

ClassFactory ClassTable::Register(const Guid& clsid, ClassFactory factory) {
    std::lock_guard lock(mutex_);
    ClassFactory previous;
    auto it = classes_.find(clsid);
    if (it != classes_.end()) {
        previous = std::move(it->second);
        classes_.erase(it);
    }
    if (factory)
        classes_.emplace(clsid, std::move(factory));
    return previous;
}

ClassFactory ClassTable::Unregister(const Guid& clsid) {
    return Register(clsid, nullptr);
}

ClassFactory ClassTable::Lookup(const Guid& clsid) const {
    std::lock_guard lock(mutex_);
    auto it = classes_.find(clsid);
    return it == classes_.end() ? ClassFactory() : it->second;
}

bool ClassTable::IsRegistered(const Guid& clsid) const {
    std::lock_guard lock(mutex_);
    return classes_.count(clsid) != 0;
}

HResult CreateInstance(const Guid& clsid, const Guid& iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    // The factory runs outside the table's lock: it may create other classes.
    const ClassFactory factory = ClassTable::Instance().Lookup(clsid);
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    return factory(iid, object);
}

HResult RunObject(IUnknown* object) {
    if (!object)
        return E_INVALIDARG;
    ComPtr<IRunnableObject> runnable;
    if (Failed(QueryInterfaceTo(object, runnable)))
        return S_OK;
    if (runnable->isRunning())
        return S_OK;
    return runnable->run();
}

ScopedClassOverride::ScopedClassOverride(const Guid& clsid, ClassFactory replacement)
    : clsid_(clsid), previous_(ClassTable::Instance().Register(clsid, std::move(replacement))) {}

ScopedClassOverride::~ScopedClassOverride() {
    ClassTable::Instance().Register(clsid_, std::move(previous_));
}

ClassFactory FailingFactory(HResult code) {
    return [code](const Guid&, void** object) {
        *object = nullptr;
        return code;
    };
}

}  // namespace platform::com
