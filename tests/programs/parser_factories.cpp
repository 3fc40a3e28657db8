// Drives the parser component factories through one scenario (the factories
// decide once per process, so each scenario runs in a process of its own)
// and prints what happened: published messages as "<kind> <text>", results
// as "ok", "com <code>" or "core <text>".
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "PrintingListener.h"
#include "platform/com/ClassTable.h"
#include "platform/com/ComError.h"
#include "platform/xml/ParserClasses.h"
#include "services/ECoreException.h"
#include "xml/io/ParserFactory.h"

namespace com = platform::com;
namespace xml = platform::xml;

namespace {

void Try(const char* what, const std::function<void()>& call) {
    try {
        call();
        std::printf("%s ok\n", what);
    } catch (const com::ComError& e) {
        std::printf("%s com %08X\n", what, static_cast<unsigned>(e.Error()));
    } catch (const ECoreException& e) {
        std::printf("%s core %s\n", what, platform::ToUtf8(e.GetMessageText()).c_str());
    }
    std::fflush(stdout);
}

// Wraps a class so that its creations are counted.
int g_probes = 0;
com::ClassFactory Counting(com::ClassFactory inner) {
    return [inner](const com::Guid& iid, void** object) {
        ++g_probes;
        return inner(iid, object);
    };
}

void CreateAll() {
    Try("reader", [] { CreateSaxReader(); });
    Try("writer", [] { CreateXmlWriter(); });
    Try("attributes", [] { CreateSaxAttributes(); });
    Try("document", [] { CreateDomDocument(false); });
}

bool HasNewParser(const com::ComPtr<xml::IXMLDOMDocument>& document) {
    com::ComPtr<xml::IXMLDOMDocument2> second;
    document.As(second);
    xml::DomPropertyValue value;
    return second->getProperty(u"NewParser", &value) >= 0 && std::holds_alternative<bool>(value) &&
           std::get<bool>(value);
}

const std::map<std::string, std::function<void()>> kScenarios = {
    {"both",
     [] {
         std::printf("v4 %d\n", IsVersion4Reader());
         CreateAll();
         CreateAll();  // no probing, no tracing
         std::printf("v4 %d\n", IsVersion4Reader());
     }},
    {"only30",
     [] {
         com::ScopedClassOverride no4(xml::kClsidSaxXmlReader40, nullptr);
         com::ScopedClassOverride count3(
             xml::kClsidSaxXmlReader30,
             Counting(com::ClassTable::Instance().Lookup(xml::kClsidSaxXmlReader30)));
         Try("reader", [] { CreateSaxReader(); });
         std::printf("v4 %d\n", IsVersion4Reader());
         {
             // 4.0 appears later: the factory keeps 3.0 and does not probe.
             com::ScopedClassOverride back4(
                 xml::kClsidSaxXmlReader40,
                 Counting(com::ClassTable::Instance().Lookup(xml::kClsidSaxXmlReader30)));
             g_probes = 0;
             Try("reader", [] { CreateSaxReader(); });
             std::printf("probes %d\n", g_probes);
         }
     }},
    {"neither",
     [] {
         com::ScopedClassOverride no4(xml::kClsidSaxXmlReader40, nullptr);
         com::ScopedClassOverride no3(xml::kClsidSaxXmlReader30, nullptr);
         Try("reader", [] { CreateSaxReader(); });
         Try("reader", [] { CreateSaxReader(); });  // probes again
     }},
    {"nointerface",
     [] {
         com::ScopedClassOverride no4(xml::kClsidMxXmlWriter40, nullptr);
         com::ScopedClassOverride bad3(xml::kClsidMxXmlWriter30,
                                       com::FailingFactory(com::E_NOINTERFACE));
         Try("writer", [] { CreateXmlWriter(); });
     }},
    {"failing30",
     [] {
         com::ScopedClassOverride no4(xml::kClsidSaxAttributes40, nullptr);
         com::ScopedClassOverride bad3(xml::kClsidSaxAttributes30,
                                       com::FailingFactory(com::E_FAIL));
         Try("attributes", [] { CreateSaxAttributes(); });
     }},
    {"chosen4removed",
     [] {
         Try("reader", [] { CreateSaxReader(); });
         com::ScopedClassOverride no4(xml::kClsidSaxXmlReader40, nullptr);
         Try("reader", [] { CreateSaxReader(); });  // no fallback to 3.0
     }},
    {"newparser4",
     [] {
         std::printf("new parser %d\n", HasNewParser(CreateDomDocument(true)));
         std::printf("new parser %d\n", HasNewParser(CreateDomDocument(true)));
         std::printf("new parser %d\n", HasNewParser(CreateDomDocument(false)));
     }},
    {"newparser3",
     [] {
         com::ScopedClassOverride no4(xml::kClsidFreeThreadedDomDocument40, nullptr);
         std::printf("new parser %d\n", HasNewParser(CreateDomDocument(true)));
     }},
};

}  // namespace

int main(int argc, char** argv) {
    System::AddMessageListener(new PrintingListener);
    if (argc < 2 || !kScenarios.count(argv[1]))
        return 2;
    kScenarios.at(argv[1])();
    return 0;
}
