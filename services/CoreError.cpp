#include "services/CoreError.h"

#include <cstdio>
#include <cstdlib>

#include "platform/CFile.h"
#include "services/Logger.h"
#include "services/PrintfFormatter.h"

namespace CoreErrorDetail {

void Raise(const char16_t* format, std::span<const FormatArgument> arguments) {
    char16_t buffer[Logger::kBufferSize];
    const auto result = PrintfFormatter::Format(buffer, Logger::kBufferSize, format, arguments);
    if (result.count > 0)
        Logger::Write(1, buffer, result.count);
    throw ECoreException(std::u16string(buffer));
}

void RaiseAt(const SourcePosition& position, const char16_t* format,
             std::span<const FormatArgument> arguments) {
    char16_t buffer[Logger::kBufferSize];
    const auto counts = LoggerDetail::FormatPositioned(buffer, true, position, format, arguments);
    if (counts.messageCount > 0) {
        Logger::Write(1, buffer, counts.prefixCount + counts.messageCount);
    }
    throw ECoreException(std::u16string(buffer));
}

}  // namespace CoreErrorDetail

void CheckInputFileReadable(const System::String& path) {
    std::FILE* file = platform::OpenCFile(path.View(), "rb");
    if (!file) {
        RaiseCoreError(u"Can't open input file '%s' because is being used by another process.",
                       path);
    }
    std::fclose(file);
}

void* AllocateOrRaise(std::int32_t byteCount, const char16_t* typeName) {
    void* block = byteCount >= 0 ? std::malloc(static_cast<std::size_t>(byteCount)) : nullptr;
    if (!block && byteCount != 0) {
        RaiseCoreError(static_cast<const void*>(nullptr),
                       u"Out of memory (failed to allocate %d bytes for %s)", byteCount, typeName);
    }
    return block;
}
