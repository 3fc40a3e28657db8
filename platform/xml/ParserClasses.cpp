#include "platform/xml/ParserClasses.h"

#include "platform/com/ClassTable.h"
#include "platform/xml/DomDocument.h"
#include "platform/xml/SaxAttributes.h"
#include "platform/xml/SaxReader.h"
#include "platform/xml/XmlWriter.h"

namespace platform::xml {

// Called by the class table when it is first used.
void RegisterParserComponents(com::ClassTable& table) {
    const struct {
        com::Guid clsid;
        HResult (*create)(const Guid&, void**);
    } classes[] = {
        {kClsidSaxXmlReader40, &SaxReader::Create},
        {kClsidSaxXmlReader30, &SaxReader::Create},
        {kClsidMxXmlWriter40, &XmlWriter::Create},
        {kClsidMxXmlWriter30, &XmlWriter::Create},
        {kClsidSaxAttributes40, &SaxAttributes::Create},
        {kClsidSaxAttributes30, &SaxAttributes::Create},
        {kClsidFreeThreadedDomDocument40, &DomDocument::Create},
        {kClsidFreeThreadedDomDocument30, &DomDocument::Create},
    };
    for (const auto& c : classes)
        table.Register(c.clsid, c.create);
}

}  // namespace platform::xml
