// The factories of the parser components: the only way the framework obtains
// a SAX reader, an XML writer, a SAX attribute list or a DOM document.
//
// Each factory prefers the 4.0 class of its component and falls back to the
// 3.0 class. It decides once per process: its first call that ends without a
// component error probes 4.0 then 3.0, traces the choice ("Using ...") when
// "Log Trace Diagnostics" is on, and every later call creates the chosen
// version directly. A creation that fails with a component error raises it
// as platform::com::ComError; no component at all raises the core error
// "MSXML 3.0 or 4.0 is not installed.".
#pragma once

#include "platform/com/ComPtr.h"
#include "platform/xml/DomInterfaces.h"
#include "platform/xml/SaxInterfaces.h"

platform::com::ComPtr<platform::xml::ISAXXMLReader> CreateSaxReader();
platform::com::ComPtr<platform::xml::IMXWriter> CreateXmlWriter();
// The object also answers ISAXAttributes.
platform::com::ComPtr<platform::xml::IMXAttributes> CreateSaxAttributes();
// A free-threaded document; `newParser` asks a 4.0 document for the
// "NewParser" property.
platform::com::ComPtr<platform::xml::IXMLDOMDocument> CreateDomDocument(bool newParser);

// Whether the reader factory chose the 4.0 reader (false until a reader was
// created).
bool IsVersion4Reader();
