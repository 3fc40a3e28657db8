// The exception family of the base library and the raise operations.
//
// Every raise site goes through COREKIT_RAISE, which records the source file
// name (without folders or extension) and line, publishes the message at
// kind 1 (error) to the message listeners, and throws a copy of the exception
// as its own class.
#pragma once

#include <cstdint>
#include <string>

#include "modules/system/SourceName.h"

namespace System {

class String;

class Exception {
public:
    Exception() = default;
    // The table text for `messageId`, taken literally (placeholders stay).
    explicit Exception(std::int32_t messageId);
    // A message of its own, for example a table text with its arguments
    // filled in.
    explicit Exception(std::u16string message) : message_(std::move(message)) {}
    Exception(const Exception&) = default;
    Exception& operator=(const Exception&) = default;
    virtual ~Exception() = default;

    String GetMessage() const;
    const std::u16string& GetMessageText() const noexcept { return message_; }
    const char* GetSourceFile() const noexcept { return sourceFile_; }
    std::int32_t GetSourceLine() const noexcept { return sourceLine_; }

    void SetSource(const char* file, std::int32_t line) noexcept {
        sourceFile_ = file;
        sourceLine_ = line;
    }

protected:
    void SetMessageText(std::u16string message) { message_ = std::move(message); }

private:
    const char* sourceFile_ = nullptr;
    std::int32_t sourceLine_ = 0;
    std::u16string message_;
};

class NullPointerException : public Exception {
public:
    NullPointerException();
};

class IndexOutOfBoundsException : public Exception {
public:
    IndexOutOfBoundsException();
};

class UnreacheableCodeException : public Exception {
public:
    UnreacheableCodeException();
};

class OutOfMemoryException : public Exception {
public:
    explicit OutOfMemoryException(std::uint32_t byteCount);
};

namespace IO {

// Quotes the calling thread's last system error, read at construction.
class FileOpenException : public Exception {
public:
    explicit FileOpenException(const char16_t* path);
};

}  // namespace IO

// Publishes `exception`'s message at kind 1 (error); part of raising.
void PublishRaisedMessage(const Exception& exception);

template <class E>
[[noreturn]] void Raise(E exception, const char* sourceFile, std::int32_t sourceLine) {
    exception.SetSource(sourceFile, sourceLine);
    PublishRaisedMessage(exception);
    throw exception;
}

}  // namespace System

#define COREKIT_RAISE(exception) ::System::Raise((exception), COREKIT_SOURCE_NAME, __LINE__)
