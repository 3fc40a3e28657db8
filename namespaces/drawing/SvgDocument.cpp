#include "namespaces/drawing/SvgDocument.h"

#include "namespaces/drawing/SvgNamespace.h"
#include "namespaces/drawing/SvgStyle.h"
#include "services/CoreError.h"
#include "xml/io/LoaderSettings.h"

COREKIT_DESCRIBE_XML_ELEMENT(SvgDocument, SvgNamespace(), u"svg") {
    c.Attribute(&SvgDocument::width, u"width");
    c.Attribute(&SvgDocument::height, u"height");
    c.Attribute(&SvgDocument::viewBox, u"viewBox");
}

namespace {

// Adds the text of each <style> element below `container` to `sheet`, in
// document order. Each is read on its own, so an unterminated comment or
// block in one does not swallow the next.
void AddStyleElements(const SvgContainer& container, SvgStyleSheet& sheet) {
    for (const auto& child : container.children) {
        if (const auto* style = dynamic_cast<const SvgStyle*>(child.Get()))
            sheet.Add(style->text.GetText());
        else if (const auto* nested = dynamic_cast<const SvgContainer*>(child.Get()))
            AddStyleElements(*nested, sheet);
    }
}

}  // namespace

SvgDocument::SvgDocument() : maxDocumentSize_(LoaderSettings::maxDocumentSize) {}

void SvgDocument::AddDocumentSize(std::uint32_t bytes) {
    documentSize_ += bytes;
    if (maxDocumentSize_ != 0 && documentSize_ > maxDocumentSize_)
        RaiseCoreError(u"Document is too large (more than %u bytes).", maxDocumentSize_);
}

void SvgDocument::OnParentSet() {
    BuildStyleSheet();
}

void SvgDocument::SetStyleSheet(std::u16string_view css) {
    ownRules_.assign(css);
    BuildStyleSheet();
}

void SvgDocument::BuildStyleSheet() {
    styleSheet_.Clear();
    AddStyleElements(*this, styleSheet_);
    styleSheet_.Add(ownRules_);
}
