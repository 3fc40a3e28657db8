// SvgDocument: "svg", the root of a drawing and its document: it answers
// GetDocument with itself, owns the style sheet its descendants' styled
// attributes are resolved against, keeps the namespace prefix map of the
// loaded text and counts the document size.
//
// The style sheet is built when the tree is attached (SetParent): the
// sheets of the <style> elements in the tree, in document order, then the
// rules set by code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "namespaces/drawing/SvgContainer.h"
#include "namespaces/drawing/SvgDocumentControl.h"
#include "namespaces/drawing/SvgStyleSheet.h"

class SvgDocument : public SvgContainer, public SvgDocumentControl {
    COREKIT_XML_CLASS(SvgDocument, SvgContainer)

public:
    SvgDocument();

    // Lengths with their units, as written ("100%", "210mm").
    TXmlNonInheritableAttribute<WideString> width, height;
    TXmlNonInheritableAttribute<WideString> viewBox;

    XmlObject* GetDocument() override { return this; }
    StyleResolver* GetStyleResolver() override { return &styleSheet_; }
    NamespacePrefixMap* GetNamespacePrefixes() override { return &prefixes_; }
    void AddDocumentSize(std::uint32_t bytes) override;
    void OnParentSet() override;

    void SetStyleSheet(std::u16string_view css) override;
    std::uint64_t GetDocumentSize() const override { return documentSize_; }
    void SetMaxDocumentSize(std::uint32_t bytes) override { maxDocumentSize_ = bytes; }
    std::uint32_t GetMaxDocumentSize() const override { return maxDocumentSize_; }

    const SvgStyleSheet& GetStyleSheet() const noexcept { return styleSheet_; }

private:
    void BuildStyleSheet();

    SvgStyleSheet styleSheet_;
    std::u16string ownRules_;
    NamespacePrefixMap prefixes_;
    std::uint64_t documentSize_ = 0;
    std::uint32_t maxDocumentSize_;
};
