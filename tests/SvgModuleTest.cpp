// The SVG namespace module (libdrawing.so), loaded by the namespace
// registry and driven the way the loader drives element classes: the root
// comes from the namespace's factory, every other element from the child
// slots of its parent, text through the text member's description, values
// are read through attribute lookups by name. The test program knows none
// of the module's element classes.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RecordingListener.h"
#include "namespaces/drawing/SvgDocumentControl.h"
#include "platform/xml/DomInterfaces.h"
#include "services/ECoreException.h"
#include "xml/io/NamespaceRegistry.h"
#include "xml/io/ParserFactory.h"
#include "xml/model/BindAttributes.h"
#include "xml/model/StyleResolver.h"
#include "xml/model/TXmlAttribute.h"
#include "xml/model/TextAttribute.h"
#include "xml/model/XmlAnyElement.h"
#include "xml/model/XmlAttributeBinder.h"
#include "xml/model/XmlAttributeTypeInfo.h"
#include "xml/model/XmlClassNames.h"
#include "xml/model/XmlElementAttributeTypeInfo.h"
#include "xml/model/XmlElementBinder.h"
#include "xml/model/XmlElementTypeInfo.h"
#include "xml/model/XmlInlineStyle.h"
#include "xml/model/XmlNamespace.h"
#include "xml/model/XmlObjectList.h"
#include "xml/model/XmlTextAttributeTypeInfo.h"

namespace {

using platform::com::ComPtr;

constexpr const char16_t* kSvgUri = u"http://www.w3.org/2000/svg";
constexpr const char16_t* kOtherUri = u"urn:other";

XmlNamespace& Svg() {
    XmlNamespace* ns = LookupNamespace(System::String(kSvgUri));
    if (!ns)
        throw std::runtime_error("the drawing module registered no SVG namespace");
    return *ns;
}

// An attribute of a start tag: local name (empty for a namespace
// declaration), value, qualified name (the local name when not given).
struct TagAttribute {
    TagAttribute(std::u16string local, std::u16string text, std::u16string qualified = {})
        : localName(std::move(local)),
          value(std::move(text)),
          qualifiedName(std::move(qualified)) {}

    std::u16string localName;
    std::u16string value;
    std::u16string qualifiedName;
};
using TagAttributes = std::vector<TagAttribute>;

ComPtr<platform::xml::ISAXAttributes> MakeAttributes(const TagAttributes& attributes) {
    ComPtr<platform::xml::IMXAttributes> list = CreateSaxAttributes();
    for (const TagAttribute& a : attributes) {
        const std::u16string& qualified = a.qualifiedName.empty() ? a.localName : a.qualifiedName;
        EXPECT_TRUE(platform::com::Succeeded(
            list->addAttribute(u"", a.localName, qualified, u"CDATA", a.value)));
    }
    ComPtr<platform::xml::ISAXAttributes> sax;
    EXPECT_TRUE(platform::com::Succeeded(list.As(sax)));
    return sax;
}

// A document under construction, built as the loader builds one.
class SvgTree {
public:
    explicit SvgTree(const TagAttributes& rootAttributes = {}) {
        XmlObject* root = Svg().CreateObject(nullptr, u"svg");
        if (!root)
            throw std::runtime_error("no factory for svg");
        root_ = root;
        BindAttributes(*root->GetElementTypeInfo(), root, root, kSvgUri, u"svg", u"svg:svg",
                       MakeAttributes(rootAttributes).Get(), nullptr, {});
    }

    XmlObject* Root() const { return root_.Get(); }

    // The child the first slot of `parent` that accepts the element makes;
    // none when no slot does.
    XmlObject* Add(XmlObject* parent, std::u16string_view localName,
                   const TagAttributes& attributes = {}, std::u16string_view uri = kSvgUri,
                   std::u16string_view prefix = u"svg") {
        const std::u16string qualified = std::u16string(prefix) + u":" + std::u16string(localName);
        const ComPtr<platform::xml::ISAXAttributes> list = MakeAttributes(attributes);
        const auto* slots = parent->GetTypeInfo().GetDescriptions(KindChildElement);
        if (!slots)
            return nullptr;
        for (const auto& description : *slots) {
            const auto& slot = static_cast<const XmlElementAttributeTypeInfo&>(*description);
            if (XmlObject* child = slot.CreateChild(parent, Root(), uri, localName, qualified,
                                                    list.Get(), nullptr, {}))
                return child;
        }
        return nullptr;
    }

    // Character data for the text member of `element`.
    static void AppendText(XmlObject* element, std::u16string_view text, XmlObject* root) {
        const auto* texts = element->GetTypeInfo().GetDescriptions(KindText);
        ASSERT_NE(texts, nullptr);
        static_cast<const XmlTextAttributeTypeInfo&>(*(*texts)[0]).AppendText(element, root, text);
    }
    void AppendText(XmlObject* element, std::u16string_view text) {
        AppendText(element, text, Root());
    }

    // A <style> child of the root holding `css`.
    XmlObject* AddStyle(std::u16string_view css) {
        XmlObject* style = Add(Root(), u"style");
        EXPECT_NE(style, nullptr);
        if (style)
            AppendText(style, css);
        return style;
    }

    // Attaches the tree; the document reads its style sheets.
    void Attach() { root_->SetParent(nullptr); }

    std::u16string Lookup(std::u16string_view element, std::u16string_view className,
                          std::u16string_view property) const {
        StyleResolver* resolver = root_->GetStyleResolver();
        if (!resolver)
            throw std::runtime_error("the document has no style resolver");
        return resolver->Lookup(element, className, property);
    }

private:
    SmartPtr<XmlObject> root_;
};

XmlAttribute& Member(XmlObject* element, std::u16string_view name) {
    XmlAttribute* member = FindAttributeByName(element, name);
    if (!member)
        throw std::runtime_error("no attribute " + Utf8(std::u16string(name)));
    return *member;
}

// The member's value as its binder writes it.
std::u16string TextOf(XmlObject* element, std::u16string_view name) {
    XmlAttribute& member = Member(element, name);
    std::u16string text;
    ValueText record{1, kValueTextProduce, text};
    member.GetAttributeInfo().GetBinder()->ToText(member, record);
    return text;
}

std::u16string String(XmlObject* element, std::u16string_view name) {
    XmlAttribute& member = Member(element, name);
    if (auto* inheritable = dynamic_cast<TXmlAttribute<WideString>*>(&member))
        return inheritable->GetValue();
    if (auto* plain = dynamic_cast<TXmlNonInheritableAttribute<WideString>*>(&member))
        return plain->GetValue();
    throw std::runtime_error("not a string attribute: " + Utf8(std::u16string(name)));
}

double Number(XmlObject* element, std::u16string_view name) {
    XmlAttribute& member = Member(element, name);
    if (auto* inheritable = dynamic_cast<TXmlAttribute<double>*>(&member))
        return inheritable->GetValue();
    if (auto* plain = dynamic_cast<TXmlNonInheritableAttribute<double>*>(&member))
        return plain->GetValue();
    throw std::runtime_error("not a double attribute: " + Utf8(std::u16string(name)));
}

std::u16string ElementText(XmlObject* element) {
    const auto* texts = element->GetTypeInfo().GetDescriptions(KindText);
    if (!texts)
        throw std::runtime_error("no text member");
    return (*texts)[0]->MemberOf<TextAttribute>(element).GetText();
}

// The children every child member of `element` holds, in order.
std::vector<XmlObject*> Children(XmlObject* element) {
    XmlObjectList<XmlObject> all;
    if (const auto* members = element->GetTypeInfo().GetMemberDescriptions(KindChildElement)) {
        for (const auto& description : *members) {
            const auto& slot = static_cast<const XmlElementAttributeTypeInfo&>(*description);
            slot.GetBinder()->Collect(slot.MemberOf<XmlBaseAttribute>(element), all);
        }
    }
    std::vector<XmlObject*> children;
    for (const auto& child : all)
        children.push_back(child.Get());
    return children;
}

SvgDocumentControl& Control(XmlObject* document) {
    auto* control = dynamic_cast<SvgDocumentControl*>(document);
    if (!control)
        throw std::runtime_error("the document offers no SvgDocumentControl");
    return *control;
}

// --- the module and its factories ------------------------------------------

TEST(SvgModule, TheNamespaceHasAFactoryForEveryElementClass) {
    XmlNamespace& svg = Svg();
    EXPECT_EQ(std::u16string(svg.GetPrefix()), u"svg");
    EXPECT_EQ(std::u16string(svg.GetUri()), kSvgUri);
    struct Case {
        const char16_t* name;
        bool presentation;  // carries the presentation attributes
        bool text;          // has a text member
    };
    for (const Case& c :
         {Case{u"svg", true, false}, Case{u"g", true, false}, Case{u"rect", true, false},
          Case{u"circle", true, false}, Case{u"line", true, false}, Case{u"text", true, true},
          Case{u"style", false, true}}) {
        SCOPED_TRACE(Utf8(c.name));
        EXPECT_TRUE(svg.HasFactory(c.name));
        SmartPtr<XmlObject> made(svg.CreateObject(nullptr, c.name));
        ASSERT_NE(made.Get(), nullptr);
        const XmlElementTypeInfo& element = *made->GetElementTypeInfo();
        EXPECT_EQ(element.GetLocalName(), c.name);
        EXPECT_EQ(element.GetNamespaceUri(), kSvgUri);
        EXPECT_EQ(element.GetName(), u"svg:" + std::u16string(c.name));
        EXPECT_FALSE(element.IsPassThrough());
        EXPECT_EQ(FindAttributeByName(made.Get(), u"fill") != nullptr, c.presentation);
        EXPECT_EQ(FindAttributeByName(made.Get(), u"class") != nullptr, c.presentation);
        EXPECT_EQ(made->GetTypeInfo().GetDescriptions(KindText) != nullptr, c.text);
    }
    // Base classes and unknown names make nothing.
    EXPECT_FALSE(svg.HasFactory(u""));
    EXPECT_EQ(svg.CreateObject(nullptr, u"foreignObject"), nullptr);
}

TEST(SvgModule, StartTagAttributesBindToTheirMembers) {
    SvgTree tree({{u"width", u"100%"}, {u"height", u"5cm"}, {u"viewBox", u"0 0 10 10"}});
    struct Case {
        const char16_t* element;
        const char16_t* attribute;
        const char16_t* value;
        const char16_t* written;  // the value as the member writes it back
    };
    const Case cases[] = {
        {u"rect", u"x", u"10", u"10"},
        {u"rect", u"y", u" 2.5", u"2.5"},
        {u"rect", u"width", u"20.5", u"20.5"},
        {u"rect", u"height", u"1e2", u"100"},
        {u"rect", u"rx", u"2", u"2"},
        {u"rect", u"ry", u"3", u"3"},
        {u"circle", u"cx", u"-1", u"-1"},
        {u"circle", u"cy", u"0", u"0"},
        {u"circle", u"r", u"4.25", u"4.25"},
        {u"line", u"x1", u"1", u"1"},
        {u"line", u"y1", u"2", u"2"},
        {u"line", u"x2", u"-3", u"-3"},
        {u"line", u"y2", u"4", u"4"},
        {u"text", u"x", u"7", u"7"},
        {u"text", u"y", u"8", u"8"},
        {u"g", u"id", u"layer 1", u"layer 1"},
        // The presentation attributes, reached through the group.
        {u"rect", u"fill", u"red", u"red"},
        {u"circle", u"stroke", u"#00f", u"#00f"},
        {u"line", u"stroke-width", u"3", u"3"},
        {u"text", u"font-size", u"12.5", u"12.5"},
        {u"g", u"opacity", u"0.5", u"0.5"},
    };
    std::vector<XmlObject*> elements;
    for (const Case& c : cases) {
        XmlObject* element =
            tree.Add(tree.Root(), c.element, {{c.attribute, c.value}, {u"unknown", u"ignored"}});
        ASSERT_NE(element, nullptr) << Utf8(c.element);
        elements.push_back(element);
    }
    tree.Attach();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(Utf8(c.element) + " " + Utf8(c.attribute));
        EXPECT_TRUE(Member(elements[i], c.attribute).IsSet());
        EXPECT_EQ(TextOf(elements[i], c.attribute), c.written);
    }
    EXPECT_EQ(Number(elements[2], u"width"), 20.5);
    EXPECT_EQ(String(elements[16], u"fill"), u"red");
    EXPECT_EQ(String(tree.Root(), u"width"), u"100%");
    EXPECT_EQ(String(tree.Root(), u"height"), u"5cm");
    EXPECT_EQ(String(tree.Root(), u"viewBox"), u"0 0 10 10");
    EXPECT_EQ(Children(tree.Root()), elements);
    for (XmlObject* element : elements)
        EXPECT_EQ(element->GetParent(), tree.Root());
}

TEST(SvgModule, ClassAndStyleMembersParseAndWriteTheirText) {
    struct Case {
        const char16_t* classText;
        std::vector<std::u16string> classes;
        const char16_t* classWritten;
        const char16_t* styleText;
        const char16_t* styleWritten;  // "a:b;c:d" in name order
    };
    const Case cases[] = {
        {u"warn", {u"warn"}, u"warn", u"fill: green", u"fill:green"},
        {u"  a\twarn \n big ",
         {u"a", u"warn", u"big"},
         u"a warn big",
         u"  stroke : blue ;fill:red;",
         u"fill:red;stroke:blue"},
        {u"", {}, u"", u"fill: red; fill: blue", u"fill:blue"},
        {u"x", {u"x"}, u"x", u"fill; :x; stroke: ; ;; opacity: 0.5", u"opacity:0.5"},
        {u"x",
         {u"x"},
         u"x",
         u"/* a */ FILL: red /* b */; Stroke-Width:2",
         u"fill:red;stroke-width:2"},
        {u"x", {u"x"}, u"x", u"font-family: 'a;b'; fill: red", u"fill:red;font-family:'a;b'"},
        {u"x", {u"x"}, u"x", u"", u""},
    };
    SvgTree tree;
    std::vector<XmlObject*> rects;
    for (const Case& c : cases)
        rects.push_back(
            tree.Add(tree.Root(), u"rect", {{u"class", c.classText}, {u"style", c.styleText}}));
    tree.Attach();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(Utf8(c.classText) + " / " + Utf8(c.styleText));
        XmlObject* rect = rects[i];
        EXPECT_EQ(TextOf(rect, u"class"), c.classWritten);
        EXPECT_EQ(TextOf(rect, u"style"), c.styleWritten);
        const auto* names = dynamic_cast<const XmlClassNames*>(&Member(rect, u"class"));
        ASSERT_NE(names, nullptr);
        std::vector<std::u16string> classes;
        for (std::size_t n = 0; n < names->GetClassCount(); ++n)
            if (!names->GetClassName(n).empty())
                classes.emplace_back(names->GetClassName(n));
        EXPECT_EQ(classes, c.classes);

        // Copying the attributes gives another rect the same texts.
        XmlObject* copy = tree.Add(tree.Root(), u"rect");
        copy->SetParent(tree.Root());
        copy->CopyAttributes(*rect);
        EXPECT_EQ(TextOf(copy, u"class"), c.classWritten);
        EXPECT_EQ(TextOf(copy, u"style"), c.styleWritten);
    }
    const auto* inlineStyle = dynamic_cast<const XmlInlineStyle*>(&Member(rects[4], u"style"));
    ASSERT_NE(inlineStyle, nullptr);
    EXPECT_EQ(inlineStyle->GetPropertyValue(u"fill"), u"red");
    EXPECT_EQ(inlineStyle->GetPropertyValue(u"stroke-width"), u"2");
    EXPECT_EQ(inlineStyle->GetPropertyValue(u"stroke"), u"");

    // Text arriving in pieces is joined before it is read.
    XmlObject* pieces =
        tree.Add(tree.Root(), u"rect", {{u"class", u"wa"}, {u"style", u"fill: re"}});
    pieces->SetParent(tree.Root());
    for (const auto& [name, piece] : {std::pair{u"class", u"rn big"}, std::pair{u"style", u"d"}})
        Member(pieces, name).GetAttributeInfo().AppendText(pieces, tree.Root(), piece);
    EXPECT_EQ(TextOf(pieces, u"class"), u"warn big");
    EXPECT_EQ(TextOf(pieces, u"style"), u"fill:red");

    // Reset leaves the members unset.
    Member(rects[1], u"class").Reset();
    Member(rects[1], u"style").Reset();
    EXPECT_FALSE(Member(rects[1], u"class").IsSet());
    EXPECT_FALSE(Member(rects[1], u"style").IsSet());
    EXPECT_EQ(TextOf(rects[1], u"style"), u"");
}

// --- styles ------------------------------------------------------------------

TEST(SvgStyles, ClassRulesThenElementRulesThenInlineStyleThenExplicitValues) {
    SvgTree tree;
    tree.AddStyle(u"rect { fill: red } .warn { fill: orange } rect.big { stroke: blue }");
    struct Case {
        TagAttributes attributes;
        const char16_t* fill;
        const char16_t* stroke;
    };
    const Case cases[] = {
        {{}, u"red", u"none"},                              // element rule
        {{{u"class", u"a warn"}}, u"orange", u"none"},      // first class with a rule
        {{{u"class", u"big"}}, u"black", u"blue"},          // no element rule with a class
        {{{u"class", u"big warn"}}, u"orange", u"blue"},    // property by property
        {{{u"class", u"other"}}, u"black", u"none"},        // no rule for the class
        {{{u"class", u""}}, u"red", u"none"},               // no class names
        {{{u"style", u"fill: green"}}, u"green", u"none"},  // inline over element rule
        {{{u"class", u"warn"}, {u"style", u"fill: green"}}, u"green", u"none"},
        {{{u"class", u"big"}, {u"style", u"stroke: gray"}}, u"black", u"gray"},
        {{{u"fill", u"yellow"}, {u"class", u"warn"}, {u"style", u"fill: green"}},
         u"yellow",
         u"none"},  // an explicit value wins over everything
    };
    std::vector<XmlObject*> rects;
    for (const Case& c : cases)
        rects.push_back(tree.Add(tree.Root(), u"rect", c.attributes));
    // No rule names circles.
    XmlObject* circle = tree.Add(tree.Root(), u"circle", {{u"class", u"big"}});
    tree.Attach();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(String(rects[i], u"fill"), cases[i].fill);
        EXPECT_EQ(String(rects[i], u"stroke"), cases[i].stroke);
        EXPECT_FALSE(Member(rects[i], u"stroke").IsSet());  // style values are not stored
    }
    EXPECT_EQ(String(circle, u"fill"), u"black");
    EXPECT_EQ(String(circle, u"stroke"), u"none");
    EXPECT_EQ(String(tree.Root(), u"fill"), u"black");
}

TEST(SvgStyles, PresentationValuesInheritThroughTheTree) {
    SvgTree tree;
    tree.AddStyle(u"g.outline { stroke: green; stroke-width: 2.5 }");
    XmlObject* outer = tree.Add(tree.Root(), u"g",
                                {{u"fill", u"purple"},
                                 {u"font-size", u"24"},
                                 {u"opacity", u"0.5"},
                                 {u"class", u"outline"}});
    XmlObject* inner = tree.Add(outer, u"g");
    XmlObject* text = tree.Add(inner, u"text");
    XmlObject* circle = tree.Add(outer, u"circle");
    XmlObject* line = tree.Add(tree.Root(), u"line");
    ASSERT_TRUE(outer && inner && text && circle && line);
    tree.Attach();

    struct Case {
        XmlObject* element;
        const char16_t* name;
        std::u16string value;  // as written
    };
    const Case cases[] = {
        // The defaults at the root and below it.
        {tree.Root(), u"fill", u"black"},
        {tree.Root(), u"stroke", u"none"},
        {tree.Root(), u"stroke-width", u"1"},
        {tree.Root(), u"font-size", u"16"},
        {tree.Root(), u"opacity", u"1"},
        {line, u"fill", u"black"},
        {line, u"font-size", u"16"},
        // Explicit values of the enclosing group.
        {circle, u"fill", u"purple"},
        {text, u"fill", u"purple"},
        {text, u"font-size", u"24"},  // through two groups
        // Style values of the enclosing group.
        {circle, u"stroke", u"green"},
        {text, u"stroke-width", u"2.5"},
        // Opacity does not inherit.
        {outer, u"opacity", u"0.5"},
        {circle, u"opacity", u"1"},
        {text, u"opacity", u"1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.element->GetElementTypeInfo()->GetName()) + " " + Utf8(c.name));
        EXPECT_EQ(TextOf(c.element, c.name), c.value);
    }
    EXPECT_EQ(Number(text, u"font-size"), 24.0);
    EXPECT_FALSE(Member(text, u"font-size").IsSet());

    // Style values are looked up at every read: rules set by code apply at
    // once, and come off again.
    Control(tree.Root()).SetStyleSheet(u"circle { fill: teal } text { font-size: 9 }");
    EXPECT_EQ(String(circle, u"fill"), u"teal");
    EXPECT_EQ(Number(text, u"font-size"), 9.0);
    EXPECT_EQ(String(circle, u"stroke"), u"green");  // the <style> rules stay
    Control(tree.Root()).SetStyleSheet(u"");
    EXPECT_EQ(String(circle, u"fill"), u"purple");
    EXPECT_EQ(Number(text, u"font-size"), 24.0);
}

TEST(SvgStyles, StyleSheetsAreReadWhenTheTreeIsAttached) {
    SvgTree tree;
    XmlObject* group = tree.Add(tree.Root(), u"g");
    // Two style elements, one of them nested, its text in pieces.
    XmlObject* first = tree.AddStyle(u"rect { fi");
    tree.AppendText(first, u"ll: red }");
    XmlObject* nested = tree.Add(group, u"style");
    tree.AppendText(nested, u"rect { stroke: blue } /* unterminated");
    tree.AddStyle(u"rect { fill: navy }");  // later rules override earlier ones
    XmlObject* rect = tree.Add(group, u"rect");
    // Nothing is read before the tree is attached.
    EXPECT_EQ(tree.Lookup(u"rect", u"", u"fill"), u"");
    tree.Attach();
    EXPECT_EQ(ElementText(first), u"rect { fill: red }");
    EXPECT_EQ(String(rect, u"stroke"), u"blue");
    EXPECT_EQ(String(rect, u"fill"), u"navy");  // the unterminated comment ends its own sheet
    // Rules set by code come after those of the style elements and stay
    // when the tree is attached again.
    Control(tree.Root()).SetStyleSheet(u"rect { fill: lime }");
    tree.Attach();
    EXPECT_EQ(String(rect, u"fill"), u"lime");
    EXPECT_EQ(String(rect, u"stroke"), u"blue");
}

// --- the style sheet parser --------------------------------------------------

struct Expect {
    const char16_t* element;
    const char16_t* className;
    const char16_t* property;
    const char16_t* value;
};

struct SheetCase {
    const char* name;
    std::u16string css;
    std::vector<Expect> expects;
};

// Control characters, a NUL, a lone surrogate, a stray escape and unbalanced
// braces; the comment closes, and the last brace leaves nothing open.
constexpr char16_t kGarbage[] = u"\x01\x02}{{\xFFFF\xD800;:\\\0/**/}}}";

TEST(SvgStyleSheet, ReadsRulesAndSkipsWhatItCannotRead) {
    const SheetCase cases[] = {
        {"rules and comments",
         u"/* head */ rect { fill: red } /* between */ .warn{fill:orange;stroke:black}"
         u" rect.big { stroke: blue }",
         {{u"rect", u"", u"fill", u"red"},
          {u"rect", u"warn", u"fill", u"orange"},
          {u"circle", u"warn", u"stroke", u"black"},
          {u"rect", u"big", u"stroke", u"blue"},
          {u"rect", u"big", u"fill", u""},  // the element rule is not asked with a class
          {u"circle", u"big", u"stroke", u""},
          {u"rect", u"", u"stroke", u""}}},
        {"selector lists",
         u"rect, circle.big , .note { fill: teal }",
         {{u"rect", u"", u"fill", u"teal"},
          {u"circle", u"big", u"fill", u"teal"},
          {u"line", u"note", u"fill", u"teal"},
          {u"circle", u"", u"fill", u""}}},
        {"later rules override",
         u"rect { fill: red; stroke: blue } rect { fill: green } rect { fill: red; fill: lime }"
         u" .a { fill: red } rect.a { fill: blue } .a { fill: gray }",
         {{u"rect", u"", u"fill", u"lime"},
          {u"rect", u"", u"stroke", u"blue"},
          {u"rect", u"a", u"fill", u"blue"},  // the element's class rule wins however ordered
          {u"circle", u"a", u"fill", u"gray"}}},
        {"names are case-sensitive, properties are not",
         u"RECT { FILL: red } rect { Stroke-Width: 2 }",
         {{u"rect", u"", u"fill", u""},
          {u"RECT", u"", u"fill", u"red"},
          {u"rect", u"", u"stroke-width", u"2"},
          {u"rect", u"", u"STROKE-WIDTH", u"2"}}},
        {"quoted strings",
         u"text { font-family: \"a;b}c\" ; fill: red } rect { fill: blue }",
         {{u"text", u"", u"font-family", u"\"a;b}c\""},
          {u"text", u"", u"fill", u"red"},
          {u"rect", u"", u"fill", u"blue"}}},
        {"unterminated comment",
         u"rect { fill: red } /* never closed .warn { fill: orange }",
         {{u"rect", u"", u"fill", u"red"}, {u"rect", u"warn", u"fill", u""}}},
        {"missing closing brace",
         u"rect { fill: red .warn { fill: orange } circle { fill: blue }",
         {{u"rect", u"", u"fill", u""},
          {u"rect", u"warn", u"fill", u""},
          {u"circle", u"", u"fill", u"blue"}}},
        {"missing opening brace",
         u"rect fill: red } circle { fill: blue }",
         {{u"rect", u"", u"fill", u""}, {u"circle", u"", u"fill", u"blue"}}},
        {"block open at the end",
         u"circle { fill: blue } rect { fill: red",
         {{u"circle", u"", u"fill", u"blue"}, {u"rect", u"", u"fill", u"red"}}},
        {"stray closing braces",
         u"}} rect { fill: red } } } circle { fill: blue }",
         {{u"rect", u"", u"fill", u"red"}, {u"circle", u"", u"fill", u"blue"}}},
        {"empty selectors",
         u"{ fill: red } , { fill: red } rect, { fill: red } circle { fill: blue }",
         {{u"rect", u"", u"fill", u""},
          {u"", u"", u"fill", u""},
          {u"circle", u"", u"fill", u"blue"}}},
        {"selectors it does not read",
         u"g > rect { fill: red } #id { fill: red } rect.a.b { fill: red } * { fill: red }"
         u" rect. { fill: red } .{ fill: red } circle { fill: blue }",
         {{u"rect", u"", u"fill", u""},
          {u"rect", u"a", u"fill", u""},
          {u"rect", u"a.b", u"fill", u""},
          {u"circle", u"", u"fill", u"blue"}}},
        {"nested blocks",
         u"@media print { rect { fill: red } } circle { fill: blue }",
         {{u"rect", u"", u"fill", u""}, {u"circle", u"", u"fill", u"blue"}}},
        {"malformed declarations",
         u"rect { fill; : red; stroke: ; stroke-width: 2 ;; }",
         {{u"rect", u"", u"fill", u""},
          {u"rect", u"", u"stroke", u""},
          {u"rect", u"", u"stroke-width", u"2"}}},
        {"garbage code units",
         std::u16string(kGarbage, std::size(kGarbage) - 1) + u"circle { fill: blue }",
         {{u"circle", u"", u"fill", u"blue"}}},
        {"garbage before a selector",
         u"%% rect { fill: red } circle { fill: blue }",
         {{u"rect", u"", u"fill", u""}, {u"circle", u"", u"fill", u"blue"}}},
        {"empty text", u"", {{u"rect", u"", u"fill", u""}}},
        {"blanks only", u" \t\r\n ", {{u"rect", u"", u"fill", u""}}},
    };
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.name);
        SvgTree tree;
        tree.AddStyle(c.css);
        tree.Attach();
        for (const Expect& e : c.expects) {
            SCOPED_TRACE(Utf8(e.element) + "." + Utf8(e.className) + " " + Utf8(e.property));
            EXPECT_EQ(tree.Lookup(e.element, e.className, e.property), e.value);
        }
    }
}

TEST(SvgStyleSheet, ArbitraryTextNeverDisturbsAnotherSheet) {
    // Text of CSS punctuation, blanks, digits and other code units; without
    // ASCII letters it cannot name "circle" or "fill" itself.
    const std::u16string alphabet = u"{}{}/**/;:.,\"'\\ \n\t@#>019-_\x00e9\xFFFF\xD800\xDC00";
    std::mt19937 random(20240611);
    SvgTree tree;
    tree.AddStyle(u"circle { fill: blue }");
    tree.Attach();
    SvgDocumentControl& control = Control(tree.Root());
    for (int round = 0; round < 2000; ++round) {
        std::u16string css;
        const std::size_t length = random() % 80;
        for (std::size_t i = 0; i < length; ++i)
            css.push_back(alphabet[random() % alphabet.size()]);
        control.SetStyleSheet(css);
        ASSERT_EQ(tree.Lookup(u"circle", u"", u"fill"), u"blue") << Utf8(css);
        tree.Lookup(u"1", u"0", u"9");
    }
}

// --- text, unknown elements, the document --------------------------------------

TEST(SvgText, TextArrivingInPiecesIsJoined) {
    SvgTree tree;
    XmlObject* text = tree.Add(tree.Root(), u"text", {{u"x", u"1"}});
    ASSERT_NE(text, nullptr);
    tree.AppendText(text, u"Hello, ");
    tree.AppendText(text, u"world");
    tree.AppendText(text, u"");
    tree.Attach();
    EXPECT_EQ(ElementText(text), u"Hello, world");
    EXPECT_EQ(Number(text, u"x"), 1.0);
}

TEST(SvgModule, ElementsNoClassDescribesAreCapturedWhole) {
    struct Case {
        const char16_t* uri;
        const char16_t* prefix;
        const char16_t* localName;
    };
    for (const Case& c : {Case{kOtherUri, u"o", u"widget"}, Case{kSvgUri, u"svg", u"foreignObject"},
                          Case{kSvgUri, u"svg", u"svg"}}) {
        SCOPED_TRACE(Utf8(c.localName));
        SvgTree tree;
        XmlObject* group = tree.Add(tree.Root(), u"g");
        XmlObject* before = tree.Add(group, u"rect");
        XmlObject* made = tree.Add(group, c.localName, {{u"size", u"2"}}, c.uri, c.prefix);
        auto* any = dynamic_cast<XmlAnyElement*>(made);
        ASSERT_NE(any, nullptr);
        EXPECT_EQ(any->GetDepth(), 1);
        // The rest of the element goes to the capture, as the loader would
        // send it.
        const std::u16string prefix(c.prefix);
        any->StartElement(c.uri, u"part", prefix + u":part", MakeAttributes({}).Get());
        any->Characters(u"inside");
        any->EndElement(c.uri, u"part", prefix + u":part");
        EXPECT_EQ(any->GetDepth(), 1);
        any->EndElement(c.uri, c.localName, prefix + u":" + c.localName);
        EXPECT_EQ(any->GetDepth(), 0);
        ASSERT_NE(any->GetCapturedDocument(), nullptr);
        ComPtr<platform::xml::IXMLDOMElement> root;
        ASSERT_TRUE(platform::com::Succeeded(any->GetCapturedDocument()->getDocumentElement(root)));
        ASSERT_TRUE(root);
        std::u16string tag;
        root->getTagName(&tag);
        EXPECT_EQ(tag, prefix + u":" + c.localName);
        std::u16string content;
        root->getText(&content);
        EXPECT_EQ(content, u"inside");
        std::optional<std::u16string> size;
        root->getAttribute(u"size", &size);
        EXPECT_EQ(size, u"2");

        XmlObject* after = tree.Add(group, u"circle");
        tree.Attach();
        EXPECT_EQ(Children(group), (std::vector<XmlObject*>{before, made, after}));
        EXPECT_EQ(made->GetParent(), group);
    }
}

TEST(SvgDocument, IsTheDocumentOfItsTreeAndKeepsItsPrefixes) {
    SvgTree tree;
    XmlObject* group =
        tree.Add(tree.Root(), u"g", {{u"", u"urn:other", u"xmlns:o"}, {u"fill", u"red"}});
    XmlObject* rect = tree.Add(group, u"rect", {{u"", u"urn:other", u"xmlns:o"}});
    ASSERT_TRUE(group && rect);
    tree.Attach();
    EXPECT_EQ(tree.Root()->GetDocument(), tree.Root());
    EXPECT_EQ(rect->GetDocument(), tree.Root());
    EXPECT_NE(tree.Root()->GetStyleResolver(), nullptr);
    EXPECT_EQ(rect->GetStyleResolver(), tree.Root()->GetStyleResolver());
    EXPECT_EQ(String(group, u"fill"), u"red");  // the declaration is no attribute

    NamespacePrefixMap* prefixes = tree.Root()->GetNamespacePrefixes();
    ASSERT_NE(prefixes, nullptr);
    EXPECT_EQ(*prefixes, (NamespacePrefixMap{{u"o", u"urn:other"}}));
    EXPECT_EQ(group->GetNamespacePrefixes(), nullptr);
    try {
        tree.Add(group, u"circle", {{u"", u"urn:elsewhere", u"xmlns:o"}});
        FAIL() << "a prefix bound twice";
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(),
                  u"The same namespace prefix 'o' is mapped to two different namespaces.");
    }
}

TEST(SvgDocument, CountsTheDocumentSizeAgainstItsLimit) {
    SvgTree tree;
    tree.Attach();
    XmlObject* root = tree.Root();
    SvgDocumentControl& control = Control(root);
    // "Max Document Size" is off in the tests: no limit to start with.
    EXPECT_EQ(control.GetMaxDocumentSize(), 0u);
    EXPECT_EQ(control.GetDocumentSize(), 0u);
    root->AddDocumentSize(4000000000u);
    root->AddDocumentSize(4000000000u);  // the total does not wrap
    EXPECT_EQ(control.GetDocumentSize(), 8000000000u);

    SvgTree limited;
    XmlObject* document = limited.Root();
    Control(document).SetMaxDocumentSize(3500);
    EXPECT_EQ(Control(document).GetMaxDocumentSize(), 3500u);
    document->AddDocumentSize(3000);
    document->AddDocumentSize(500);  // up to the limit is allowed
    EXPECT_EQ(Control(document).GetDocumentSize(), 3500u);
    ScopedListener listener(new RecordingListener);
    try {
        document->AddDocumentSize(1);
        FAIL() << "the limit was passed";
    } catch (const ECoreException& e) {
        EXPECT_EQ(e.GetMessageText(), u"Document is too large (more than 3500 bytes).");
    }
    EXPECT_EQ(listener->messages, (std::vector<RecordingListener::Message>{
                                      {1, u"Document is too large (more than 3500 bytes)."}}));
    EXPECT_THROW(document->AddDocumentSize(0), ECoreException);  // still above
}

}  // namespace
