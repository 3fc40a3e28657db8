#include "xml/model/XmlAttributeBinder.h"

#include <string>

#include "xml/io/LoaderSettings.h"
#include "xml/model/XmlObject.h"

void AppendTextPiece(const XmlAttributeBinder& binder, XmlBaseAttribute& member, XmlObject* root,
                     std::u16string_view text) {
    std::u16string piece(text);
    if (root && LoaderSettings::maxDocumentSize != 0)
        root->AddDocumentSize(2 * static_cast<std::uint32_t>(text.size()));
    ValueText record{1, kValueTextAppend, piece};
    binder.FromText(member, record);
}
