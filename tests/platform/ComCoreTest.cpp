#include <gtest/gtest.h>

#include "platform/com/ClassTable.h"
#include "platform/com/ComError.h"
#include "platform/com/ComObject.h"
#include "platform/com/Guid.h"
#include "platform/com/Result.h"
#include "platform/xml/DomInterfaces.h"
#include "platform/xml/ParserClasses.h"
#include "platform/xml/SaxInterfaces.h"

namespace {

using namespace platform::com;
namespace px = platform::xml;

TEST(Guid, ParsesAndFormatsTheRegistryForm) {
    const auto g = Guid::Parse("{7c6e29bc-8B8B-4C3D-859E-AF6CD158BE0F}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->data1, 0x7C6E29BCu);
    EXPECT_EQ(g->data2, 0x8B8B);
    EXPECT_EQ(g->data3, 0x4C3D);
    EXPECT_EQ(g->data4[0], 0x85);
    EXPECT_EQ(g->data4[7], 0x0F);
    EXPECT_EQ(g->ToString(), "{7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F}");
    EXPECT_EQ(Guid::Parse("7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F"), g);
    EXPECT_EQ(g->ToU16String(), u"{7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F}");
}

TEST(Guid, RejectsMalformedText) {
    for (const char* text :
         {"", "{7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F", "{7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0G}",
          "{7C6E29BC8B8B-4C3D-859E-AF6CD158BE0F0}", "(7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F)"}) {
        EXPECT_FALSE(Guid::Parse(text)) << text;
    }
}

TEST(Result, CodesKeepTheirValuesAndHaveTexts) {
    const struct {
        HResult code;
        std::uint32_t value;
    } cases[] = {
        {S_OK, 0},
        {S_FALSE, 1},
        {E_FAIL, 0x80004005},
        {E_NOINTERFACE, 0x80004002},
        {E_POINTER, 0x80004003},
        {E_INVALIDARG, 0x80070057},
        {E_OUTOFMEMORY, 0x8007000E},
        {E_NOTIMPL, 0x80004001},
        {E_ABORT, 0x80004004},
        {REGDB_E_CLASSNOTREG, 0x80040154},
        {XML_E_PARSE, 0x80040201},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<std::uint32_t>(c.code), c.value);
        EXPECT_FALSE(ResultText(c.code).empty()) << c.value;
    }
    EXPECT_EQ(ResultText(REGDB_E_CLASSNOTREG), u"Class not registered.");
    EXPECT_TRUE(ResultText(MakeResult(0x8123ABCD)).empty());
    EXPECT_EQ(DescribeResult(MakeResult(0x8123ABCD)), u"Unknown error 0x8123ABCD.");
    EXPECT_TRUE(Failed(E_FAIL));
    EXPECT_TRUE(Succeeded(S_FALSE));
}

TEST(ComError, CarriesCodeAndDescription) {
    const ComError plain(E_POINTER);
    EXPECT_EQ(plain.Error(), E_POINTER);
    EXPECT_FALSE(plain.Description());
    EXPECT_EQ(plain.ErrorMessage(), u"Invalid pointer.");
    EXPECT_STREQ(plain.what(), "Invalid pointer.");

    const ComError described(E_FAIL, u"Schema \u00e9 missing");
    EXPECT_EQ(described.ErrorMessage(), u"Schema \u00e9 missing");
    EXPECT_STREQ(described.what(), "Schema \xC3\xA9 missing");
}

TEST(ComError, ThreadErrorInfoAttachesOnlyToItsCode) {
    SetErrorInfo(XML_E_XPATH, u"bad query");
    try {
        ThrowComError(XML_E_XPATH);
        FAIL();
    } catch (const ComError& e) {
        ASSERT_TRUE(e.Description());
        EXPECT_EQ(*e.Description(), u"bad query");
    }
    SetErrorInfo(XML_E_XPATH, u"stale");
    try {
        ThrowIfFailed(E_FAIL);
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.Error(), E_FAIL);
        EXPECT_FALSE(e.Description());
    }
    EXPECT_FALSE(TakeErrorInfo(XML_E_XPATH));  // taken (cleared) by the throw
    EXPECT_EQ(ThrowIfFailed(S_FALSE), S_FALSE);
}

// A two-interface object that counts its live instances.
int g_live = 0;

class TwoFaces final : public ComObject<px::IMXAttributes, px::ISAXLocator> {
public:
    TwoFaces() { ++g_live; }
    HResult addAttribute(std::u16string_view, std::u16string_view, std::u16string_view,
                         std::u16string_view, std::u16string_view) override {
        return S_OK;
    }
    HResult clear() override { return S_OK; }
    HResult removeAttribute(std::int32_t) override { return S_OK; }
    HResult setValue(std::int32_t, std::u16string_view) override { return S_OK; }
    HResult getColumnNumber(std::int32_t* c) override {
        *c = 7;
        return S_OK;
    }
    HResult getLineNumber(std::int32_t*) override { return S_OK; }
    HResult getPublicId(std::u16string*) override { return S_OK; }
    HResult getSystemId(std::u16string*) override { return S_OK; }

private:
    ~TwoFaces() override { --g_live; }
};

TEST(ComPtr, CountsReferencesAndQueriesInterfaces) {
    {
        ComPtr<px::IMXAttributes> attributes;
        ASSERT_EQ(MakeObject<TwoFaces>(attributes), S_OK);
        EXPECT_EQ(g_live, 1);
        ComPtr<px::ISAXLocator> locator;
        ASSERT_EQ(attributes.As(locator), S_OK);
        std::int32_t column = 0;
        locator->getColumnNumber(&column);
        EXPECT_EQ(column, 7);

        // Both interfaces give the same identity.
        ComPtr<IUnknown> a, b;
        attributes.As(a);
        locator.As(b);
        EXPECT_EQ(a.Get(), b.Get());

        ComPtr<px::ISAXXMLReader> missing;
        EXPECT_EQ(attributes.As(missing), E_NOINTERFACE);
        EXPECT_FALSE(missing);

        ComPtr<px::IMXAttributes> copy = attributes;
        attributes.Reset();
        EXPECT_EQ(g_live, 1);
        copy = nullptr;
        EXPECT_EQ(g_live, 1);  // `locator`, `a`, `b` still hold it
    }
    EXPECT_EQ(g_live, 0);
}

TEST(ClassTable, HoldsEveryParserComponentUnderBothVersions) {
    const struct {
        Guid clsid;
        Guid iid;
    } cases[] = {
        {px::kClsidSaxXmlReader40, px::ISAXXMLReader::kIid},
        {px::kClsidSaxXmlReader30, px::ISAXXMLReader::kIid},
        {px::kClsidMxXmlWriter40, px::IMXWriter::kIid},
        {px::kClsidMxXmlWriter30, px::ISAXContentHandler::kIid},
        {px::kClsidSaxAttributes40, px::IMXAttributes::kIid},
        {px::kClsidSaxAttributes30, px::ISAXAttributes::kIid},
        {px::kClsidFreeThreadedDomDocument40, px::IXMLDOMDocument2::kIid},
        {px::kClsidFreeThreadedDomDocument30, px::IXMLDOMDocument::kIid},
    };
    for (const auto& c : cases) {
        ComPtr<IUnknown> object;
        ASSERT_EQ(CreateInstance(c.clsid, IUnknown::kIid, object.PutVoid()), S_OK)
            << c.clsid.ToString();
        EXPECT_EQ(RunObject(object.Get()), S_OK);
        void* raw = nullptr;
        ASSERT_EQ(object->QueryInterface(c.iid, &raw), S_OK) << c.clsid.ToString();
        static_cast<IUnknown*>(raw)->Release();
    }
    // Each creation gives a fresh object.
    ComPtr<px::ISAXXMLReader> first, second;
    CreateInstance(px::kClsidSaxXmlReader40, first);
    CreateInstance(px::kClsidSaxXmlReader40, second);
    EXPECT_NE(first.Get(), second.Get());
}

TEST(ClassTable, ClassesCanBeRemovedReplacedAndRestored) {
    ComPtr<px::ISAXXMLReader> reader;
    {
        ScopedClassOverride only30(px::kClsidSaxXmlReader40, nullptr);
        EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader40, reader), REGDB_E_CLASSNOTREG);
        EXPECT_FALSE(reader);
        EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader30, reader), S_OK);
        {
            ScopedClassOverride neither(px::kClsidSaxXmlReader30, nullptr);
            EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader30, reader), REGDB_E_CLASSNOTREG);
            ScopedClassOverride failing(px::kClsidSaxXmlReader30, FailingFactory(E_OUTOFMEMORY));
            EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader30, reader), E_OUTOFMEMORY);
        }
        EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader30, reader), S_OK);
    }
    EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader40, reader), S_OK);

    const Guid unknown = MakeGuid("{FA144205-C540-44F8-8785-5F674E9167F1}");
    EXPECT_FALSE(ClassTable::Instance().IsRegistered(unknown));
    EXPECT_EQ(CreateInstance(unknown, reader), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader40, IUnknown::kIid, nullptr), E_POINTER);

    // An interface the class does not have.
    ComPtr<px::IXMLDOMDocument> notAReader;
    EXPECT_EQ(CreateInstance(px::kClsidSaxXmlReader40, notAReader), E_NOINTERFACE);
}

// An object with a run step that fails.
class Unrunnable final : public ComObject<IRunnableObject> {
public:
    HResult run() override { return E_ABORT; }
    bool isRunning() override { return false; }
};

TEST(ClassTable, RunStepOfAReplacedClassCanFail) {
    ScopedClassOverride replaced(px::kClsidMxXmlWriter40, [](const Guid& iid, void** object) {
        ComPtr<Unrunnable> holder(new Unrunnable);
        return holder->QueryInterface(iid, object);
    });
    ComPtr<IUnknown> object;
    ASSERT_EQ(CreateInstance(px::kClsidMxXmlWriter40, IUnknown::kIid, object.PutVoid()), S_OK);
    EXPECT_EQ(RunObject(object.Get()), E_ABORT);
    EXPECT_EQ(RunObject(nullptr), E_INVALIDARG);
}

}  // namespace
