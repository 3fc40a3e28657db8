// SvgDocumentControl: what code outside the module reaches of an "svg"
// document besides the XmlObject interface: the style sheet set by code
// and the document-size accounting.
//
// Every member is pure and the class has no key function, so each program
// that casts to it has its own copy of its type information; a cast from
// the document object found through XmlObject works without linking the
// module:
//
//   if (auto* control = dynamic_cast<SvgDocumentControl*>(document)) ...
#pragma once

#include <cstdint>
#include <string_view>

class SvgDocumentControl {
public:
    // Rules of the document's own, read after those of its <style>
    // elements (so they win over them); they stay when the sheet is built
    // again. Replaces what an earlier call gave.
    virtual void SetStyleSheet(std::u16string_view css) = 0;

    // The bytes reported through AddDocumentSize so far.
    virtual std::uint64_t GetDocumentSize() const = 0;
    // A report that takes the total above `bytes` raises the core error
    // "Document is too large (more than %u bytes)."; 0, the start value
    // when "Max Document Size" is off, means no limit.
    virtual void SetMaxDocumentSize(std::uint32_t bytes) = 0;
    virtual std::uint32_t GetMaxDocumentSize() const = 0;

protected:
    ~SvgDocumentControl() = default;
};
