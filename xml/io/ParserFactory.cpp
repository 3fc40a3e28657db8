#include "xml/io/ParserFactory.h"

#include "platform/com/ClassTable.h"
#include "platform/com/ComError.h"
#include "platform/xml/ParserClasses.h"
#include "services/CoreError.h"
#include "services/Logger.h"
#include "xml/io/ParserSettings.h"

namespace {

using platform::com::ComPtr;
using platform::com::E_NOINTERFACE;
using platform::com::Guid;
using platform::com::HResult;
using platform::com::IUnknown;
namespace xml = platform::xml;

// The two process-wide flags of one factory. Plain booleans: concurrent
// first calls may each probe, and each ends with the same flags.
struct VersionChoice {
    bool firstCallPending = true;
    bool useVersion4 = false;
};

struct Component {
    const Guid& version4;
    const Guid& version3;
    const char16_t* trace4;
    const char16_t* trace3;
};

// Creates the class, puts it into the running state and queries it for I.
// Returns the first failing result.
template <class I>
HResult Attempt(const Guid& clsid, ComPtr<I>& out) {
    out.Reset();
    ComPtr<IUnknown> unknown;
    HResult hr = platform::com::CreateInstance(clsid, IUnknown::kIid, unknown.PutVoid());
    if (hr < 0)
        return hr;
    hr = platform::com::RunObject(unknown.Get());
    if (hr < 0)
        return hr;
    return unknown->QueryInterface(I::kIid, out.PutVoid());
}

void Trace(const char16_t* text) {
    if (ParserSettings::traceComponentChoice)
        LogTrace(u"%s", text);
}

// An attempt that failed with anything but "no such interface" is raised.
void RaiseUnlessNoInterface(HResult hr) {
    if (hr < 0 && hr != E_NOINTERFACE)
        platform::com::ThrowComError(hr);
}

// The choice of one factory. `made4` runs on every 4.0 object right after
// its creation, before the flags change and the trace is written.
template <class I, class After4>
ComPtr<I> Create(VersionChoice& choice, const Component& component, After4 made4) {
    ComPtr<I> object;
    if (choice.firstCallPending) {
        if (Attempt(component.version4, object) >= 0 && object) {
            made4(object);
            choice.useVersion4 = true;
            Trace(component.trace4);
            choice.firstCallPending = false;
        } else {
            const HResult hr = Attempt(component.version3, object);
            RaiseUnlessNoInterface(hr);
            Trace(component.trace3);
            choice.firstCallPending = false;
        }
    } else {
        const HResult hr =
            Attempt(choice.useVersion4 ? component.version4 : component.version3, object);
        RaiseUnlessNoInterface(hr);
        if (object && choice.useVersion4)
            made4(object);
    }
    if (!object)
        RaiseCoreError(u"MSXML 3.0 or 4.0 is not installed.");
    return object;
}

template <class I>
ComPtr<I> Create(VersionChoice& choice, const Component& component) {
    return Create<I>(choice, component, [](ComPtr<I>&) {});
}

VersionChoice g_readerChoice;
VersionChoice g_writerChoice;
VersionChoice g_attributesChoice;
VersionChoice g_documentChoice;

}  // namespace

ComPtr<xml::ISAXXMLReader> CreateSaxReader() {
    static const Component component{xml::kClsidSaxXmlReader40, xml::kClsidSaxXmlReader30,
                                     u"Using SAXXMLReader40", u"Using SAXXMLReader30"};
    return Create<xml::ISAXXMLReader>(g_readerChoice, component);
}

ComPtr<xml::IMXWriter> CreateXmlWriter() {
    static const Component component{xml::kClsidMxXmlWriter40, xml::kClsidMxXmlWriter30,
                                     u"Using MXXMLWriter40", u"Using MXXMLWriter30"};
    return Create<xml::IMXWriter>(g_writerChoice, component);
}

ComPtr<xml::IMXAttributes> CreateSaxAttributes() {
    static const Component component{xml::kClsidSaxAttributes40, xml::kClsidSaxAttributes30,
                                     u"Using SAXAttributes40", u"Using SAXAttributes30"};
    ComPtr<xml::IMXAttributes> attributes =
        Create<xml::IMXAttributes>(g_attributesChoice, component);
    ComPtr<xml::ISAXAttributes> readable;
    const HResult hr = attributes.As(readable);
    RaiseUnlessNoInterface(hr);
    if (!readable) {
        RaiseCoreError(
            u"MSXML installation is not valid (can't query ISAXAttributes). Try to install the "
            u"latest MSXML.");
    }
    return attributes;
}

ComPtr<xml::IXMLDOMDocument> CreateDomDocument(bool newParser) {
    static const Component component{
        xml::kClsidFreeThreadedDomDocument40, xml::kClsidFreeThreadedDomDocument30,
        u"Using FreeThreadedDOMDocument40", u"Using FreeThreadedDOMDocument30"};
    ComPtr<xml::IXMLDOMDocument2> document =
        Create<xml::IXMLDOMDocument2>(g_documentChoice, component, [newParser](auto& created) {
            if (!newParser)
                return;
            const HResult hr = created->setProperty(u"NewParser", xml::DomPropertyValue(true));
            if (hr < 0)
                platform::com::ThrowComError(hr);
        });
    ComPtr<xml::IXMLDOMDocument> result;
    const HResult hr = document.As(result);
    RaiseUnlessNoInterface(hr);
    // A document without its main interface is as good as none.
    if (!result)
        RaiseCoreError(u"MSXML 3.0 or 4.0 is not installed.");
    return result;
}

bool IsVersion4Reader() {
    return g_readerChoice.useVersion4;
}
