// AttributeClassTypeInfo<A>: the type information of the attribute member
// class A. It lists no members, only the design-time entries of typed
// attributes. Each class gets its own (and so its own type number).
#pragma once

#include <type_traits>

#include "xml/model/ObjectTypeInfo.h"

namespace AttributeClassDetail {
// Adds the design-time entries of a typed attribute class: the editor type,
// and for booleans the values "true" and "false".
void DescribeTypedAttribute(ObjectTypeInfo& info, bool boolean);
}  // namespace AttributeClassDetail

template <class A>
const ObjectTypeInfo& AttributeClassTypeInfo() {
    static const ObjectTypeInfo& info = []() -> const ObjectTypeInfo& {
        static ObjectTypeInfo storage;
        if constexpr (requires { typename A::ValueType; })
            AttributeClassDetail::DescribeTypedAttribute(
                storage, std::is_same_v<typename A::ValueType, bool>);
        storage.Finalize();
        return storage;
    }();
    return info;
}
