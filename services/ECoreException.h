// ECoreException: the failure of the framework and the services, raised by
// RaiseCoreError and its variants (CoreError.h) with a formatted text.
#pragma once

#include <string>

#include "modules/system/Exception.h"

class ECoreException : public System::Exception {
public:
    explicit ECoreException(std::u16string message) : System::Exception(std::move(message)) {}
};
