// XmlObject and the tree: attaching, attribute lookups through groups,
// copying attributes, the style lookup, child creation through the
// descriptions, and capturing unknown elements.
#include <gtest/gtest.h>

#include <map>

#include "ObjectModelFixture.h"
#include "RecordingListener.h"
#include "modules/system/Exception.h"
#include "platform/com/ComError.h"
#include "services/ECoreException.h"
#include "xml/io/ParserFactory.h"
#include "xml/model/StyleResolver.h"
#include "xml/model/XmlClassNames.h"
#include "xml/model/XmlInlineStyle.h"

using namespace fixture;

namespace {

// --- classes of this test: a styled document ------------------------------

// "class": white-space separated names.
class ClassNames : public XmlAttribute, public XmlClassNames {
public:
    ClassNames() = default;
    explicit ClassNames(std::u16string_view text) { Assign(text); }
    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<ClassNames>();
    }
    void SetOwner(XmlObject* owner) override { owner_ = owner; }
    void CopyFrom(const XmlAttribute& source, bool) override {
        const auto& other = dynamic_cast<const ClassNames&>(source);
        names_ = other.names_;
        set_ = other.set_;
    }
    bool IsSet() const override { return set_; }
    void Reset() override { set_ = false; }
    void SetFromText(ValueText& record) { Assign(record.text); }
    void ToText(ValueText& record) const {
        record.text.clear();
        for (const auto& n : names_)
            record.text += (record.text.empty() ? u"" : u" ") + n;
    }
    std::size_t GetClassCount() const override { return names_.size(); }
    std::u16string_view GetClassName(std::size_t i) const override { return names_[i]; }

private:
    void Assign(std::u16string_view text) {
        names_.clear();
        std::u16string current;
        for (char16_t c : std::u16string(text) + u" ") {
            if (c == u' ') {
                if (!current.empty())
                    names_.push_back(current);
                current.clear();
            } else {
                current += c;
            }
        }
        set_ = true;
    }
    std::vector<std::u16string> names_;
    bool set_ = false;
};

// "style": "name:value" pairs separated by ';'.
class InlineStyle : public XmlAttribute, public XmlInlineStyle {
public:
    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<InlineStyle>();
    }
    void SetOwner(XmlObject* owner) override { owner_ = owner; }
    void CopyFrom(const XmlAttribute&, bool) override {}
    bool IsSet() const override { return set_; }
    void Reset() override { set_ = false; }
    void SetFromText(ValueText& record) {
        std::u16string text = record.text + u";";
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(u';', start)) != std::u16string::npos;
             start = end + 1) {
            const std::u16string part = text.substr(start, end - start);
            const auto colon = part.find(u':');
            if (colon != std::u16string::npos)
                values_[part.substr(0, colon)] = part.substr(colon + 1);
        }
        set_ = true;
    }
    void ToText(ValueText&) const {}
    std::u16string_view GetPropertyValue(std::u16string_view property) const override {
        const auto found = values_.find(std::u16string(property));
        return found == values_.end() ? std::u16string_view() : std::u16string_view(found->second);
    }

private:
    std::map<std::u16string, std::u16string> values_;
    bool set_ = false;
};

class Rules : public StyleResolver {
public:
    std::map<std::u16string, std::u16string> rules;  // "element.class/property" -> value
    mutable std::vector<std::u16string> asked;
    std::u16string Lookup(std::u16string_view element, std::u16string_view className,
                          std::u16string_view property) const override {
        std::u16string key = std::u16string(element) + u"." + std::u16string(className) + u"/" +
                             std::u16string(property);
        asked.push_back(key);
        const auto found = rules.find(key);
        return found == rules.end() ? std::u16string() : found->second;
    }
};

class Sheet : public XmlObject {
    COREKIT_XML_CLASS(Sheet, XmlObject)
public:
    Rules rules;
    XmlObjectList<XmlObject> shapes;
    XmlObject* GetDocument() override { return this; }
    StyleResolver* GetStyleResolver() override { return &rules; }
};

class Shape : public XmlObject {
    COREKIT_XML_CLASS(Shape, XmlObject)
public:
    TXmlAttribute<WideString> fill;
    TXmlAttribute<bool> hidden;
    ClassNames classes;
    InlineStyle style;
};

// Without a "class" member the element-name rule applies.
class Plain : public XmlObject {
    COREKIT_XML_CLASS(Plain, XmlObject)
public:
    TXmlAttribute<WideString> fill;
};

// A member that cannot be attached.
class Exploding : public XmlAttribute {
public:
    const ObjectTypeInfo& GetTypeInfo() const override {
        return AttributeClassTypeInfo<Exploding>();
    }
    void SetOwner(XmlObject*) override { COREKIT_RAISE(System::UnreacheableCodeException()); }
    void CopyFrom(const XmlAttribute&, bool) override {}
    bool IsSet() const override { return false; }
    void Reset() override {}
    void SetFromText(ValueText&) {}
    void ToText(ValueText&) const {}
};

class Fragile : public XmlObject {
    COREKIT_XML_CLASS(Fragile, XmlObject)
public:
    TXmlAttribute<std::int32_t> fine;
    Exploding bad;
    SourcePosition position;
    const SourcePosition& GetSourcePosition() const override { return position; }
};

XmlNamespace& StyleNamespace() {
    static XmlNamespace ns(u"s", u"urn:corekit:test:style");
    return ns;
}

COREKIT_DESCRIBE_XML_ELEMENT(Sheet, StyleNamespace(), u"sheet") {
    c.Children(&Sheet::shapes, StyleNamespace(), {u"shape", u"plain"});
}
COREKIT_DESCRIBE_XML_ELEMENT(Shape, StyleNamespace(), u"shape") {
    c.Attribute(&Shape::fill, u"fill").Inherited().Styled().Default(u"black");
    c.Attribute(&Shape::hidden, u"hidden").Styled();
    c.Attribute(&Shape::classes, u"class");
    c.Attribute(&Shape::style, u"style");
}
COREKIT_DESCRIBE_XML_ELEMENT(Plain, StyleNamespace(), u"plain") {
    c.Attribute(&Plain::fill, u"fill").Styled();
}
COREKIT_DESCRIBE_XML_ELEMENT(Fragile, StyleNamespace(), u"fragile") {
    c.Attribute(&Fragile::fine, u"fine");
    c.Attribute(&Fragile::bad, u"bad").Namespace(StyleNamespace());
}

template <class A>
void Parse(A& member, std::u16string text) {
    ValueText record{1, kValueTextReplace, text};
    member.SetFromText(record);
}

// --- attaching ------------------------------------------------------------

TEST(XmlObject, SetParentAttachesTheWholeTreeDepthFirst) {
    SmartPtr<Box> root = new Box;
    std::vector<Box*> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(new Box);
        root->children.Append(SmartPtr<XmlObject>(children.back()));
        children.back()->children.Append(SmartPtr<XmlObject>(new Leaf));
    }
    SmartPtr<Holder> holder = new Holder;
    holder->leaf = new Leaf;
    root->children.Append(SmartPtr<XmlObject>(holder.Get()));
    root->SetParent(nullptr);
    EXPECT_EQ(root->GetParent(), nullptr);
    for (Box* child : children) {
        EXPECT_EQ(child->GetParent(), root.Get());
        EXPECT_EQ(child->children[0]->GetParent(), child);
        EXPECT_EQ(child->depth.GetOwner(), child);
        EXPECT_EQ(child->paint->color.GetOwner(), &child->paint.Group());
        EXPECT_EQ(child->paint->GetParent(), child);
    }
    EXPECT_EQ(holder->leaf->GetParent(), holder.Get());
    EXPECT_EQ(holder->outer->paint->GetParent(), &holder->outer.Group());
}

TEST(XmlObject, AnEmptyChildEntryStopsAttachingThere) {
    ScopedListener listener(new RecordingListener);
    SmartPtr<Box> root = new Box;
    Box* first = new Box;
    Box* last = new Box;
    root->children.Append(SmartPtr<XmlObject>(first));
    root->children.Append(SmartPtr<XmlObject>());
    root->children.Append(SmartPtr<XmlObject>(last));
    EXPECT_THROW(root->SetParent(nullptr), System::NullPointerException);
    EXPECT_EQ(first->GetParent(), root.Get());
    EXPECT_EQ(last->GetParent(), nullptr);
}

TEST(XmlObject, AFailingMemberIsReportedByItsQualifiedName) {
    ScopedListener listener(new RecordingListener);
    SmartPtr<Fragile> object = new Fragile;
    try {
        object->SetParent(nullptr);
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(Utf8(e.GetMessageText()), "Failed to initialize XML object attribute 's:bad'.");
    }
    object->position = SourcePosition(System::String(u"doc.xml"), 3, 7);
    try {
        object->SetParent(nullptr);
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(Utf8(e.GetMessageText()),
                  "doc.xml (3,7):Failed to initialize XML object attribute 's:bad'.");
    }
}

// --- lookups --------------------------------------------------------------

TEST(XmlObject, AttributeLookupsSearchGroupsAfterTheClass) {
    SmartPtr<Holder> holder = new Holder;
    holder->SetParent(nullptr);
    XmlAttribute* color = FindAttributeByName(holder.Get(), u"color");
    EXPECT_EQ(color, &holder->outer->paint->color);
    EXPECT_EQ(FindAttributeById(holder.Get(), kWeightId), &holder->outer->paint->weight);
    EXPECT_EQ(FindAttributeByName(holder.Get(), u"label"), &holder->outer->label);
    EXPECT_EQ(FindAttributeByName(holder.Get(), u"nothing"), nullptr);
    EXPECT_EQ(FindAttributeById(holder.Get(), 77), nullptr);
    // The class's own member wins over a group's of the same name.
    SmartPtr<Box> box = new Box;
    EXPECT_EQ(FindAttributeByName(box.Get(), u"size"), &box->size);
    EXPECT_EQ(FindAttributeByName(box.Get(), u"color"), &box->paint->color);
}

TEST(XmlObject, TheContextElementSkipsPassThroughGroups) {
    SmartPtr<Holder> holder = new Holder;
    holder->SetParent(nullptr);
    EXPECT_EQ(GetContextElement(holder->outer->paint->color), holder.Get());
    TXmlAttribute<std::int32_t> loose;
    EXPECT_EQ(GetContextElement(loose), nullptr);
}

TEST(XmlObject, CopyAttributesCopiesExplicitValuesOnly) {
    SmartPtr<Box> source = new Box;
    SmartPtr<Box> target = new Box;
    source->SetParent(nullptr);
    target->SetParent(nullptr);
    source->depth.SetValue(4);
    source->paint->color.SetValue(u"blue");
    source->text = u"text stays";
    source->children.Append(SmartPtr<XmlObject>(new Leaf));
    target->ratio.SetValue(2.0);  // unset in the source: becomes unset
    target->CopyAttributes(*source);
    EXPECT_EQ(target->depth.GetValue(), 4);
    EXPECT_FALSE(target->ratio.IsSet());
    EXPECT_EQ(target->paint->color.GetValue(), u"blue");
    EXPECT_TRUE(target->text.empty());
    EXPECT_TRUE(target->children.empty());
}

// --- styles ---------------------------------------------------------------

struct Styled {
    SmartPtr<Sheet> sheet = new Sheet;
    Shape* shape = new Shape;
    Plain* plain = new Plain;
    Styled() {
        sheet->shapes.Append(SmartPtr<XmlObject>(shape));
        sheet->shapes.Append(SmartPtr<XmlObject>(plain));
        sheet->SetParent(nullptr);
    }
};

TEST(XmlObject, ClassRulesApplyInClassOrderAndInlineStylesOverride) {
    Styled s;
    s.sheet->rules.rules[u"shape.b/fill"] = u"blue";
    s.sheet->rules.rules[u"shape./fill"] = u"grey";
    Parse(s.shape->classes, u"a b");
    EXPECT_EQ(s.shape->fill.GetValue(), u"blue");
    Parse(s.shape->style, u"fill:green");
    EXPECT_EQ(s.shape->fill.GetValue(), u"green");
    s.shape->fill.SetValue(u"red");
    EXPECT_EQ(s.shape->fill.GetValue(), u"red");
}

TEST(XmlObject, WithClassesTheElementRuleIsNotAsked) {
    Styled s;
    s.sheet->rules.rules[u"shape./fill"] = u"grey";
    Parse(s.shape->classes, u"a");
    EXPECT_EQ(s.shape->fill.GetValue(), u"black");  // the default
    for (const auto& key : s.sheet->rules.asked)
        EXPECT_NE(key, u"shape./fill");
    // An element without a "class" member asks the element rule once.
    s.sheet->rules.rules[u"plain./fill"] = u"grey";
    EXPECT_EQ(s.plain->fill.GetValue(), u"grey");
}

TEST(XmlObject, AStyleTextThatDoesNotParseFallsBack) {
    Styled s;
    s.sheet->rules.rules[u"shape.a/hidden"] = u"maybe";
    Parse(s.shape->classes, u"a");
    EXPECT_FALSE(s.shape->hidden.GetValue());
    s.sheet->rules.rules[u"shape.a/hidden"] = u"true";
    EXPECT_TRUE(s.shape->hidden.GetValue());
    EXPECT_FALSE(s.shape->hidden.IsSet());
}

TEST(XmlObject, WithoutDocumentThereIsNoStyle) {
    SmartPtr<Shape> shape = new Shape;
    shape->SetParent(nullptr);
    EXPECT_EQ(shape->GetDocument(), nullptr);
    EXPECT_EQ(shape->GetStyleResolver(), nullptr);
    EXPECT_EQ(shape->fill.GetValue(), u"black");
}

// --- factories, child creation, binders -----------------------------------

const XmlElementAttributeTypeInfo& ChildDescription(const XmlObject& object,
                                                    std::u16string_view name) {
    for (const auto& d : *object.GetTypeInfo().GetDescriptions(KindChildElement))
        if (d->GetName() == name)
            return static_cast<const XmlElementAttributeTypeInfo&>(*d);
    throw std::runtime_error("no such description");
}

TEST(XmlObject, NamespacesMakeObjectsByLocalName) {
    XmlObject* made = TestNamespace().CreateObject(nullptr, u"box");
    ASSERT_NE(made, nullptr);
    SmartPtr<XmlObject> held(made);
    EXPECT_NE(dynamic_cast<Box*>(made), nullptr);
    EXPECT_EQ(made->GetRefCount(), 1);
    EXPECT_EQ(TestNamespace().CreateObject(nullptr, u"nothing"), nullptr);
    // Abstract classes have no factory.
    EXPECT_FALSE(TestNamespace().HasFactory(u""));
}

TEST(XmlObject, CreateChildMatchesNamesBindsAndSetsAttributes) {
    SmartPtr<Box> root = new Box;
    auto attributes = CreateSaxAttributes();
    attributes->addAttribute(u"", u"depth", u"depth", u"CDATA", u"0x10");
    attributes->addAttribute(u"", u"color", u"color", u"CDATA", u"teal");  // in the group
    attributes->addAttribute(u"", u"unknown", u"unknown", u"CDATA", u"x");
    platform::com::ComPtr<platform::xml::ISAXAttributes> list;
    ASSERT_TRUE(platform::com::Succeeded(attributes.As(list)));
    const auto& boxSlot = ChildDescription(*root, u"t:box");
    EXPECT_EQ(boxSlot.CreateChild(root.Get(), root.Get(), kTestUri, u"leaf", u"leaf", list.Get(),
                                  nullptr, {}),
              nullptr);
    EXPECT_EQ(boxSlot.CreateChild(root.Get(), root.Get(), u"urn:elsewhere", u"box", u"box",
                                  list.Get(), nullptr, {}),
              nullptr);
    XmlObject* child = boxSlot.CreateChild(root.Get(), root.Get(), kTestUri, u"box", u"t:box",
                                           list.Get(), nullptr, {});
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(root->children.size(), 1u);
    EXPECT_EQ(root->children[0].Get(), child);
    auto* box = static_cast<Box*>(child);
    root->SetParent(nullptr);
    EXPECT_EQ(box->depth.GetValue(), 16);
    EXPECT_EQ(box->paint->color.GetValue(), u"teal");
}

TEST(XmlObject, BindingAChildOfTheWrongClassNamesBothClasses) {
    ScopedListener listener(new RecordingListener);
    SmartPtr<Holder> holder = new Holder;
    const auto& slot = ChildDescription(*holder, u"t:leaf");
    SmartPtr<Box> box = new Box;
    try {
        slot.GetBinder()->Bind(slot.MemberOf<XmlBaseAttribute>(holder.Get()), box.Get());
        FAIL();
    } catch (const ECoreException& e) {
        EXPECT_EQ(Utf8(e.GetMessageText()),
                  "Can't bind an element of class 't:box' to a member holding 't:leaf'.");
    }
    EXPECT_FALSE(holder->leaf);
    // A single-child slot lets the previous child go.
    Leaf* first = new Leaf;
    slot.GetBinder()->Bind(slot.MemberOf<XmlBaseAttribute>(holder.Get()), first);
    SmartPtr<Leaf> keep(first);
    slot.GetBinder()->Bind(slot.MemberOf<XmlBaseAttribute>(holder.Get()), new Leaf);
    EXPECT_EQ(first->GetRefCount(), 1);
    XmlObjectList<XmlObject> collected;
    slot.GetBinder()->Collect(slot.MemberOf<XmlBaseAttribute>(holder.Get()), collected);
    ASSERT_EQ(collected.size(), 1u);
    EXPECT_EQ(collected[0].Get(), holder->leaf.Get());
}

TEST(XmlObject, TheTextMemberCollectsPieces) {
    SmartPtr<Box> box = new Box;
    const auto& text = static_cast<const XmlTextAttributeTypeInfo&>(
        *(*box->GetTypeInfo().GetDescriptions(KindText))[0]);
    text.AppendText(box.Get(), nullptr, u"Hello, ");
    text.AppendText(box.Get(), box.Get(), u"world");
    EXPECT_EQ(box->text.GetText(), u"Hello, world");
}

// --- capturing unknown elements -------------------------------------------

TEST(XmlObject, TheWildcardCapturesAnElementWithEverythingInside) {
    SmartPtr<Box> root = new Box;
    const auto& wildcard = ChildDescription(*root, u"any:");
    EXPECT_TRUE(wildcard.IsWildcard());
    EXPECT_EQ(
        wildcard.CreateChild(root.Get(), nullptr, kTestUri, u"text()", u"", nullptr, nullptr, {}),
        nullptr);
    auto attributes = CreateSaxAttributes();
    attributes->addAttribute(u"", u"kind", u"kind", u"CDATA", u"odd & \"quoted\"");
    platform::com::ComPtr<platform::xml::ISAXAttributes> list;
    ASSERT_TRUE(platform::com::Succeeded(attributes.As(list)));
    // Even a name the test namespace has a factory for becomes an any element.
    XmlObject* made = wildcard.CreateChild(root.Get(), root.Get(), kTestUri, u"box", u"t:box",
                                           list.Get(), nullptr, {});
    auto* any = dynamic_cast<XmlAnyElement*>(made);
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(root->children.size(), 1u);
    EXPECT_EQ(any->GetDepth(), 1);
    any->StartElement(kTestUri, u"inner", u"t:inner", nullptr);
    any->Characters(u"a < b");
    any->EndElement(kTestUri, u"inner", u"t:inner");
    any->StartElement(kTestUri, u"inner", u"t:inner", nullptr);
    any->StartElement(u"", u"deep", u"deep", nullptr);
    any->EndElement(u"", u"deep", u"deep");
    any->EndElement(kTestUri, u"inner", u"t:inner");
    any->EndElement(kTestUri, u"box", u"t:box");
    EXPECT_EQ(any->GetDepth(), 0);
    ASSERT_NE(any->GetCapturedDocument(), nullptr);
    platform::com::ComPtr<platform::xml::IXMLDOMNodeList> nodes;
    any->GetCapturedDocument()->setProperty(u"SelectionLanguage", std::u16string(u"XPath"));
    ASSERT_TRUE(platform::com::Succeeded(any->GetCapturedDocument()->selectNodes(u"//*", nodes)));
    std::int32_t count = 0;
    nodes->getLength(&count);
    EXPECT_EQ(count, 4);  // box, two inner, deep
    std::u16string xml;
    any->GetCapturedDocument()->getXml(&xml);
    EXPECT_NE(xml.find(u"a &lt; b"), std::u16string::npos) << Utf8(xml);
    EXPECT_NE(xml.find(u"kind=\"odd &amp; &quot;quoted&quot;\""), std::u16string::npos)
        << Utf8(xml);
}

TEST(XmlObject, ForwardingBeforeTheCaptureStartsIsAnInvalidPointer) {
    SmartPtr<XmlAnyElement> any = new XmlAnyElement;
    try {
        any->Characters(u"x");
        FAIL();
    } catch (const platform::com::ComError& e) {
        EXPECT_EQ(e.Error(), platform::com::E_POINTER);
    }
}

}  // namespace
