// CStreamFile: the owner of an open C library file stream.
#pragma once

#include <cstdio>

#include "modules/system/String.h"

class CStreamFile {
public:
    // Raises "Can't open '<path>': <system text> (0x<code>)" on failure.
    CStreamFile(const System::String& path, const char* mode);
    ~CStreamFile();
    CStreamFile(const CStreamFile&) = delete;
    CStreamFile& operator=(const CStreamFile&) = delete;

    std::FILE* Get() const noexcept { return stream_; }

private:
    std::FILE* stream_ = nullptr;
};
