#include "xml/model/RefObject16.h"

#include "services/CoreError.h"

void RefObject16::RaiseCountOverflow() {
    RaiseCoreError(u"Reference count overflow (an object can have at most %u references).",
                   static_cast<unsigned>(kMaxReferences));
}
