// The exception that carries a failed result code out of component calls,
// with the description the failing component left for the calling thread.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/Result.h"

namespace platform::com {

class ComError : public std::exception {
public:
    explicit ComError(HResult code, std::optional<std::u16string> description = std::nullopt);

    HResult Error() const noexcept { return code_; }
    // The component's own description of the failure, when it left one.
    const std::optional<std::u16string>& Description() const noexcept { return description_; }
    // The description when there is one, else the text of the code.
    std::u16string ErrorMessage() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    HResult code_;
    std::optional<std::u16string> description_;
    std::string what_;
};

// Error information for the calling thread: a component that fails an
// operation may describe why, for the code it returns. Taking it clears it;
// it is handed out only for the same code, so a stale description never
// attaches to a later, unrelated failure.
void SetErrorInfo(HResult code, std::u16string description);
void ClearErrorInfo();
std::optional<std::u16string> TakeErrorInfo(HResult code);

// Throws ComError(code, TakeErrorInfo(code)).
[[noreturn]] void ThrowComError(HResult code);

// Throws for failure codes and passes success codes (S_FALSE too) through.
inline HResult ThrowIfFailed(HResult code) {
    if (Failed(code))
        ThrowComError(code);
    return code;
}

}  // namespace platform::com
