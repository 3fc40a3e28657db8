#include "modules/system/Exception.h"

#include <string>

#include "modules/system/MessageTable.h"
#include "modules/system/String.h"
#include "modules/system/StringFormatStream.h"
#include "modules/system/SystemErrorText.h"

namespace System {

namespace {
enum : std::int32_t {
    kFailedToAllocate = 1001,
    kCannotOpenFile = 1002,
    kNullPointer = 1003,
    kIndexOutOfBounds = 1007,
    kUnreacheableCode = 1010,
};
}  // namespace

Exception::Exception(std::int32_t messageId) : message_(LookupMessage(messageId)) {}

String Exception::GetMessage() const {
    return String(message_);
}

NullPointerException::NullPointerException() : Exception(kNullPointer) {}

IndexOutOfBoundsException::IndexOutOfBoundsException() : Exception(kIndexOutOfBounds) {}

UnreacheableCodeException::UnreacheableCodeException() : Exception(kUnreacheableCode) {}

OutOfMemoryException::OutOfMemoryException(std::uint32_t byteCount) {
    const std::string count = std::to_string(byteCount);
    SetMessageText(std::u16string(
        StringFormatStream::Format(LookupMessage(kFailedToAllocate), String(count.c_str()))
            .View()));
}

namespace IO {

FileOpenException::FileOpenException(const char16_t* path) {
    // The error text first, before any other call can change the code.
    const String systemText = GetLastErrorText();
    SetMessageText(std::u16string(
        StringFormatStream::Format(LookupMessage(kCannotOpenFile), String(path), systemText)
            .View()));
}

}  // namespace IO

}  // namespace System
