#include "platform/CFile.h"

#include "platform/SystemError.h"
#include "platform/Utf8.h"

namespace platform {

std::FILE* OpenCFile(std::u16string_view path, const char* mode) {
    std::FILE* file = std::fopen(ToUtf8(path).c_str(), mode);
    if (!file)
        SetLastErrorFromErrno();
    return file;
}

}  // namespace platform
