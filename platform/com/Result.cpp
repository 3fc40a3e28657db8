#include "platform/com/Result.h"

#include <cerrno>
#include <cstdio>

namespace platform::com {

std::u16string_view ResultText(HResult hr) {
    switch (hr) {
        case S_OK:
            return u"The operation completed successfully.";
        case S_FALSE:
            return u"The operation completed without a result.";
        case E_NOTIMPL:
            return u"Not implemented.";
        case E_NOINTERFACE:
            return u"No such interface supported.";
        case E_POINTER:
            return u"Invalid pointer.";
        case E_ABORT:
            return u"Operation aborted.";
        case E_FAIL:
            return u"Unspecified error.";
        case E_UNEXPECTED:
            return u"Catastrophic failure.";
        case E_ACCESSDENIED:
            return u"Access is denied.";
        case E_OUTOFMEMORY:
            return u"Not enough memory resources are available to complete this operation.";
        case E_INVALIDARG:
            return u"The parameter is incorrect.";
        case REGDB_E_CLASSNOTREG:
            return u"Class not registered.";
        case E_FILE_NOT_FOUND:
            return u"The system cannot find the file specified.";
        case E_PATH_NOT_FOUND:
            return u"The system cannot find the path specified.";
        case E_SHARING_VIOLATION:
            return u"The process cannot access the file because it is being used by another "
                   u"process.";
        case E_FILE_EXISTS:
            return u"The file exists.";
        case E_DISK_FULL:
            return u"There is not enough space on the disk.";
        case XML_E_PARSE:
            return u"The XML document is not well-formed.";
        case XML_E_LIMIT:
            return u"The XML document exceeds a parser limit.";
        case XML_E_ENCODING:
            return u"The encoding is not supported.";
        case XML_E_INVALID_CHAR:
            return u"The text contains a character that XML cannot represent.";
        case XML_E_XPATH:
            return u"The XPath expression is not valid.";
        default:
            return {};
    }
}

std::u16string DescribeResult(HResult hr) {
    const std::u16string_view text = ResultText(hr);
    if (!text.empty())
        return std::u16string(text);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%08X.", static_cast<unsigned>(hr));
    return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

HResult ResultFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return E_FILE_NOT_FOUND;
        case ENOTDIR:
            return E_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return E_ACCESSDENIED;
        case EWOULDBLOCK:
            return E_SHARING_VIOLATION;
        case EEXIST:
            return E_FILE_EXISTS;
        case ENOSPC:
            return E_DISK_FULL;
        case ENOMEM:
            return E_OUTOFMEMORY;
        case EINVAL:
            return E_INVALIDARG;
        default:
            return E_FAIL;
    }
}

}  // namespace platform::com
