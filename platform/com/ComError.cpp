#include "platform/com/ComError.h"

#include "platform/Utf8.h"

namespace platform::com {

namespace {

struct ThreadErrorInfo {
    HResult code = S_OK;
    std::optional<std::u16string> description;
};

thread_local ThreadErrorInfo t_error_info;

}  // namespace

ComError::ComError(HResult code, std::optional<std::u16string> description)
    : code_(code), description_(std::move(description)), what_(ToUtf8(ErrorMessage())) {}

std::u16string ComError::ErrorMessage() const {
    if (description_ && !description_->empty())
        return *description_;
    return DescribeResult(code_);
}

void SetErrorInfo(HResult code, std::u16string description) {
    t_error_info.code = code;
    t_error_info.description = std::move(description);
}

void ClearErrorInfo() {
    t_error_info = {};
}

std::optional<std::u16string> TakeErrorInfo(HResult code) {
    std::optional<std::u16string> result;
    if (t_error_info.description && t_error_info.code == code) {
        result = std::move(t_error_info.description);
    }
    t_error_info = {};
    return result;
}

void ThrowComError(HResult code) {
    throw ComError(code, TakeErrorInfo(code));
}

}  // namespace platform::com
