// MessageListener: where published messages go. The host program installs
// listeners with System::AddMessageListener (Application.h).
#pragma once

#include <cstdint>

#include "modules/system/Object.h"
#include "modules/system/String.h"

namespace System {

// Message kinds.
enum MessageKind : std::int32_t {
    kMessageInformation = 0,
    kMessageError = 1,
    kMessageWarning = 2,
    kMessageTrace = 3,
};

class MessageListener : public Object {
public:
    // Receives one published message; the text is the listener's own copy
    // and may be kept. Called synchronously on the publishing thread.
    virtual void ReceiveMessage(std::int32_t kind, String text) = 0;
    // Whether the listener wants messages of `kind`; asked before traces
    // and warnings are formatted.
    virtual bool WantsKind(std::int32_t kind) = 0;
};

}  // namespace System
