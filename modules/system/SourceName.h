// Compile-time source file names for raise sites: "modules/system/String.cpp"
// becomes the static text "String".
#pragma once

#include <cstddef>

namespace System::Detail {

constexpr std::size_t SourceStemStart(const char* path) {
    std::size_t start = 0;
    for (std::size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '/' || path[i] == '\\')
            start = i + 1;
    }
    return start;
}

constexpr std::size_t SourceStemEnd(const char* path) {
    const std::size_t start = SourceStemStart(path);
    std::size_t end = start;
    while (path[end] != '\0')
        ++end;
    for (std::size_t i = end; i > start; --i) {
        if (path[i - 1] == '.')
            return i - 1;
    }
    return end;
}

constexpr std::size_t SourceStemLength(const char* path) {
    return SourceStemEnd(path) - SourceStemStart(path);
}

template <std::size_t N>
struct SourceStem {
    char text[N + 1];
};

template <std::size_t N>
constexpr SourceStem<N> MakeSourceStem(const char* path) {
    SourceStem<N> stem{};
    const std::size_t start = SourceStemStart(path);
    for (std::size_t i = 0; i < N; ++i)
        stem.text[i] = path[start + i];
    stem.text[N] = '\0';
    return stem;
}

}  // namespace System::Detail

// The name of the current source file without folders or extension, as a
// pointer to static storage.
#define COREKIT_SOURCE_NAME                                                                 \
    ([]() -> const char* {                                                                  \
        static constexpr auto stem =                                                        \
            ::System::Detail::MakeSourceStem<::System::Detail::SourceStemLength(__FILE__)>( \
                __FILE__);                                                                  \
        return stem.text;                                                                   \
    }())
