// Process-wide libxml2 set-up shared by the parser components.
//
// Only this folder talks to libxml2. Its global state is set once:
// - xmlInitParser, so that threads may parse and query concurrently;
// - an external entity loader that refuses every resource, so that no
//   document can make the process read a file or the network through a
//   DTD, an external entity or XInclude;
// - generic error output silenced (diagnostics reach callers through the
//   structured error callbacks of each parse).
#pragma once

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <string>
#include <string_view>

#include "platform/Utf8.h"
#include "platform/com/Result.h"

namespace platform::xml {

// Runs the process set-up once and silences generic errors on this thread.
void EnsureLibXml();

inline std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}
inline std::string_view View(const xmlChar* text, int length) {
    return std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
}
inline const xmlChar* Chars(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

// The message of a libxml2 error without its trailing line break.
std::u16string ErrorText(const xmlError* error);

// The result code for a fatal libxml2 error: XML_E_LIMIT for broken limits
// (entity expansion, depth), XML_E_ENCODING for encoding failures, else
// XML_E_PARSE.
com::HResult ResultOfError(const xmlError* error);

// Message for an element nesting limit, shared by reader and document.
inline constexpr int kMaxElementDepth = 256;

}  // namespace platform::xml
