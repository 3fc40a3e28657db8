#include "xml/model/SmartPtr.h"

namespace SmartPtrDetail {

// Out of line and in this file, so that the raise is recorded against
// "SmartPtr" wherever the template is used.
void RaiseNullPointer() {
    COREKIT_RAISE(System::NullPointerException());
}

}  // namespace SmartPtrDetail
