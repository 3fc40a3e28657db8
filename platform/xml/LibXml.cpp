#include "platform/xml/LibXml.h"

#include <mutex>

namespace platform::xml {

namespace {

void Silent(void*, const char*, ...) {}

// Every external resource (DTD, external entity) is refused: documents
// never make the process read files or the network.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

}  // namespace

void EnsureLibXml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
        xmlThrDefSetGenericErrorFunc(nullptr, Silent);
        xmlThrDefSetStructuredErrorFunc(nullptr, nullptr);
    });
    xmlSetGenericErrorFunc(nullptr, Silent);
}

std::u16string ErrorText(const xmlError* error) {
    std::string_view text = error && error->message ? std::string_view(error->message) : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    if (text.empty())
        return u"XML parse error";
    return ToUtf16(text);
}

com::HResult ResultOfError(const xmlError* error) {
    if (!error)
        return com::XML_E_PARSE;
    switch (error->code) {
        case XML_ERR_ENTITY_LOOP:
            return com::XML_E_LIMIT;
        case XML_ERR_UNSUPPORTED_ENCODING:
        case XML_ERR_INVALID_ENCODING:
        case XML_I18N_CONV_FAILED:
            return com::XML_E_ENCODING;
        default:
            break;
    }
    if (error->message &&
        std::string_view(error->message).find("Excessive depth") != std::string_view::npos) {
        return com::XML_E_LIMIT;
    }
    return com::XML_E_PARSE;
}

}  // namespace platform::xml
