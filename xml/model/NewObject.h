// NewObject: heap allocation of framework objects. An allocation that yields
// no memory raises "Out of memory (failed to allocate object of type '%s')."
// naming what was being made.
#pragma once

#include <new>
#include <utility>

#include "services/CoreError.h"

template <class T, class... Args>
T* NewObject(const char16_t* typeName, Args&&... arguments) {
    T* object = new (std::nothrow) T(std::forward<Args>(arguments)...);
    if (!object)
        RaiseCoreError(u"Out of memory (failed to allocate object of type '%s').", typeName);
    return object;
}
