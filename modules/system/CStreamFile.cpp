#include "modules/system/CStreamFile.h"

#include "modules/system/SystemErrorText.h"
#include "platform/CFile.h"
#include "platform/SystemError.h"
#include "services/CoreError.h"

CStreamFile::CStreamFile(const System::String& path, const char* mode) {
    stream_ = platform::OpenCFile(path.View(), mode);
    if (!stream_) {
        const int code = platform::GetLastError();
        RaiseCoreError(u"Can't open '%s': %s (0x%08X)", path, System::GetSystemErrorText(code),
                       static_cast<unsigned>(code));
    }
}

CStreamFile::~CStreamFile() {
    if (stream_)
        std::fclose(stream_);
}
