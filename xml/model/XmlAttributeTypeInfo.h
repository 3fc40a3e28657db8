// XmlAttributeTypeInfo (kind 2): a member bound to one XML attribute. It
// carries the attribute's name and namespace, the binder that converts the
// member from and to text, an optional default member, and whether the
// member inherits from the enclosing element and takes style values.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "xml/model/AttributeTypeInfo.h"

namespace platform::xml {
class ISAXAttributes;
}
class XmlAttribute;
class XmlAttributeBinder;

class XmlAttributeTypeInfo : public AttributeTypeInfo {
public:
    // `namespaceUri` and `prefix` are static texts or null; an empty URI
    // accepts the attribute in any namespace.
    XmlAttributeTypeInfo(std::uint32_t offset, ObjectTypeInfo* owningType, const char16_t* name,
                         std::uint32_t id, XmlAttributeBinder* binder,
                         const char16_t* namespaceUri = nullptr, const char16_t* prefix = nullptr);
    ~XmlAttributeTypeInfo() override;

    // Offered the attribute at `index` of a start tag: accepts it when the
    // local name matches and, if this description has a namespace, the
    // namespace too; then parses its value into the object's member.
    virtual bool TryBindValue(XmlObject* object, XmlObject* root, std::u16string_view namespaceUri,
                              std::u16string_view localName,
                              platform::xml::ISAXAttributes* attributes, std::int32_t index) const;
    // Appends character data to the member (reporting twice `text.size()`
    // bytes to the root when "Max Document Size" is on); returns true.
    virtual bool AppendText(XmlObject* owner, XmlObject* root, std::u16string_view text) const;

    std::u16string_view GetNamespaceUri() const noexcept {
        return {namespaceUri_, namespaceUriLength_};
    }
    const char16_t* GetPrefix() const noexcept { return prefix_; }
    const std::u16string& GetQualifiedName() const noexcept { return qualifiedName_; }
    XmlAttributeBinder* GetBinder() const noexcept { return binder_; }
    XmlAttribute* GetDefault() const noexcept { return default_.get(); }
    bool IsInherited() const noexcept { return inherited_; }
    bool IsStyled() const noexcept { return styled_; }

    // Set while the class is described.
    void SetNamespace(const char16_t* namespaceUri, const char16_t* prefix);
    void SetDefault(std::unique_ptr<XmlAttribute> member);
    void SetInherited(bool inherited) noexcept { inherited_ = inherited; }
    void SetStyled(bool styled) noexcept { styled_ = styled; }

private:
    const char16_t* namespaceUri_ = nullptr;
    std::size_t namespaceUriLength_ = 0;
    const char16_t* prefix_ = nullptr;
    std::u16string qualifiedName_;
    XmlAttributeBinder* binder_;
    std::unique_ptr<XmlAttribute> default_;
    bool inherited_ = false;
    bool styled_ = false;
};
