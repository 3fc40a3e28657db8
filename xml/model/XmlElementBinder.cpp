#include "xml/model/XmlElementBinder.h"

#include "services/CoreError.h"
#include "xml/model/XmlObject.h"

namespace XmlElementBinderDetail {

void RaiseWrongClass(const XmlObject& child, const std::u16string& expectedName) {
    RaiseCoreError(u"Can't bind an element of class '%s' to a member holding '%s'.",
                   child.GetElementTypeInfo()->GetName(), expectedName);
}

}  // namespace XmlElementBinderDetail
