#include "services/Logger.h"

#include "modules/system/Application.h"
#include "services/PrintfFormatter.h"

void Logger::Write(std::int32_t kind, const char16_t* text, std::size_t count) {
    if (kind < 0 || kind > 3)
        COREKIT_RAISE(System::UnreacheableCodeException());
    System::PublishMessage(kind, System::String(text, count));
}

bool Logger::IsEnabled(std::int32_t kind) {
    return System::IsMessageWanted(kind);
}

namespace LoggerDetail {

namespace {

void PublishFallback(const char16_t* text) {
    Logger::Write(1, text, std::char_traits<char16_t>::length(text));
}

}  // namespace

void LogFormatted(std::int32_t kind, const char16_t* format,
                  std::span<const FormatArgument> arguments) {
    try {
        char16_t buffer[Logger::kBufferSize];
        const auto result = PrintfFormatter::Format(buffer, Logger::kBufferSize, format, arguments);
        if (result.count > 0)
            Logger::Write(kind, buffer, result.count);
    } catch (...) {
        PublishFallback(u"An exception occured during formatting log message.");
    }
}

PositionedText FormatPositioned(char16_t* buffer, bool withPrefix, const SourcePosition& position,
                                const char16_t* format, std::span<const FormatArgument> arguments) {
    PositionedText counts{0, 0};
    buffer[0] = 0;
    if (withPrefix) {
        counts.prefixCount =
            PrintfFormatter::FormatValues(buffer, Logger::kBufferSize, u"%s (%d,%d):",
                                          position.sourceName, position.Line(), position.Column())
                .count;
    }
    // The message right behind the prefix, in what is left of the 2047 units.
    const std::size_t left = Logger::kBufferSize - counts.prefixCount;
    if (left > 1) {
        counts.messageCount =
            PrintfFormatter::Format(buffer + counts.prefixCount, left, format, arguments).count;
    }
    return counts;
}

void LogWarningAtFormatted(const SourcePosition& position, const char16_t* format,
                           std::span<const FormatArgument> arguments) {
    try {
        char16_t buffer[Logger::kBufferSize];
        const bool withPrefix = position.sourceName.Length() > 0 || position.position != 0;
        const auto counts = FormatPositioned(buffer, withPrefix, position, format, arguments);
        const std::size_t total = counts.prefixCount + counts.messageCount;
        if (total > 0)
            Logger::Write(2, buffer, total);
    } catch (...) {
        PublishFallback(u"An exception occured during formatting warning message.");
    }
}

}  // namespace LoggerDetail
