// The SAX reader component on libxml2's SAX2 push parser.
//
// Input is fed to libxml2 in chunks (text converted to UTF-8 piecewise,
// streams and files read 64 KiB at a time), so memory does not grow with the
// document. Character data is delivered in runs: consecutive pieces of text
// (including CDATA sections and expanded entities) reach the handler as one
// characters() call before the next other event.
//
// Safety limits (a document that breaks one fails with XML_E_LIMIT and a
// fatalError naming the limit, at the position where it was broken):
// - no external resource is ever loaded: external DTD subsets are not read
//   and external general entities are reported through skippedEntity;
// - entity expansion stays within libxml2's default (non-"huge") limits and
//   within our own budget: at most kMaxEntityExpansion characters in total
//   once the expansion exceeds kEntityAmplification times the input read;
// - element nesting deeper than kMaxElementDepth (256) levels.
#pragma once

#include <string>

#include "platform/com/ComObject.h"
#include "platform/xml/SaxInterfaces.h"

namespace platform::xml {

inline constexpr std::size_t kMaxEntityExpansion = 10'000'000;
inline constexpr std::size_t kEntityAmplification = 10;

class SaxReader final : public com::ComObject<ISAXXMLReader> {
public:
    static HResult Create(const Guid& iid, void** object);

    HResult getFeature(std::u16string_view name, bool* value) override;
    HResult putFeature(std::u16string_view name, bool value) override;
    HResult getProperty(std::u16string_view name, std::u16string* value) override;
    HResult putProperty(std::u16string_view name, std::u16string_view value) override;
    HResult getContentHandler(ComPtr<ISAXContentHandler>& handler) override;
    HResult putContentHandler(ISAXContentHandler* handler) override;
    HResult getErrorHandler(ComPtr<ISAXErrorHandler>& handler) override;
    HResult putErrorHandler(ISAXErrorHandler* handler) override;
    HResult parse(std::u16string_view text) override;
    HResult parse(IUnknown* source) override;
    HResult parseURL(std::u16string_view url) override;

private:
    class Session;
    struct ParseGuard;

    ComPtr<ISAXContentHandler> content_;
    ComPtr<ISAXErrorHandler> errors_;
    bool namespacePrefixes_ = false;
    std::u16string charset_;
    bool parsing_ = false;
};

// Converts a "file:" URL (file:///abs/path, file://localhost/abs/path,
// file:/abs/path, with %XX escapes) or a plain path to a path. Other schemes
// give E_NOTIMPL; a malformed URL gives E_INVALIDARG.
HResult PathFromUrl(std::u16string_view url, std::u16string* path);

}  // namespace platform::xml
