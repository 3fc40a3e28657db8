// Helpers of the parser component tests: handlers that record SAX events as
// readable lines, and a temporary folder.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "platform/com/ClassTable.h"
#include "platform/com/ComObject.h"
#include "platform/xml/ParserClasses.h"
#include "platform/xml/SaxInterfaces.h"

namespace xmltest {

using platform::ToUtf8;
using platform::com::ComPtr;
using platform::com::HResult;
using platform::com::S_OK;
using namespace platform::xml;

inline std::string U8(std::u16string_view text) {
    return ToUtf8(text);
}

// Records every event as one line; positions are appended when `positions`.
class RecordingHandler final : public platform::com::ComObject<ISAXContentHandler> {
public:
    std::vector<std::string> events;
    bool positions = false;
    // The event (0-based count of recorded events) that fails, and how.
    int failAt = -1;
    HResult failure = platform::com::E_FAIL;
    ComPtr<ISAXLocator> locator;

    HResult putDocumentLocator(ISAXLocator* l) override {
        locator = l;
        return S_OK;
    }
    HResult startDocument() override { return Record("startDocument"); }
    HResult endDocument() override { return Record("endDocument"); }
    HResult startPrefixMapping(std::u16string_view prefix, std::u16string_view uri) override {
        return Record("startPrefix " + U8(prefix) + "=" + U8(uri));
    }
    HResult endPrefixMapping(std::u16string_view prefix) override {
        return Record("endPrefix " + U8(prefix));
    }
    HResult startElement(std::u16string_view uri, std::u16string_view local,
                         std::u16string_view qname, ISAXAttributes* attributes) override {
        std::string line = "start {" + U8(uri) + "}" + U8(local) + " " + U8(qname);
        std::int32_t n = 0;
        attributes->getLength(&n);
        for (std::int32_t i = 0; i < n; ++i) {
            std::u16string_view u, l, q, v;
            attributes->getName(i, &u, &l, &q);
            attributes->getValue(i, &v);
            line += " [{" + U8(u) + "}" + U8(l) + " " + U8(q) + "=" + U8(v) + "]";
        }
        return Record(line);
    }
    HResult endElement(std::u16string_view uri, std::u16string_view local,
                       std::u16string_view qname) override {
        return Record("end {" + U8(uri) + "}" + U8(local) + " " + U8(qname));
    }
    HResult characters(std::u16string_view text) override { return Record("text " + U8(text)); }
    HResult ignorableWhitespace(std::u16string_view text) override {
        return Record("whitespace " + U8(text));
    }
    HResult processingInstruction(std::u16string_view target, std::u16string_view data) override {
        return Record("pi " + U8(target) + " " + U8(data));
    }
    HResult skippedEntity(std::u16string_view name) override {
        return Record("skipped " + U8(name));
    }

private:
    HResult Record(std::string line) {
        if (positions && locator) {
            std::int32_t l = 0, c = 0;
            locator->getLineNumber(&l);
            locator->getColumnNumber(&c);
            line += " @" + std::to_string(l) + ":" + std::to_string(c);
        }
        events.push_back(std::move(line));
        if (static_cast<int>(events.size()) - 1 == failAt)
            return failure;
        return S_OK;
    }
};

struct Diagnostic {
    std::string kind;  // "error", "fatal", "warning"
    std::string message;
    int line = 0;
    int column = 0;
    HResult code = S_OK;
};

class RecordingErrors final : public platform::com::ComObject<ISAXErrorHandler> {
public:
    std::vector<Diagnostic> reports;

    HResult error(ISAXLocator* l, std::u16string_view m, HResult c) override {
        return Record("error", l, m, c);
    }
    HResult fatalError(ISAXLocator* l, std::u16string_view m, HResult c) override {
        return Record("fatal", l, m, c);
    }
    HResult ignorableWarning(ISAXLocator* l, std::u16string_view m, HResult c) override {
        return Record("warning", l, m, c);
    }

    const Diagnostic* Fatal() const {
        for (const auto& d : reports) {
            if (d.kind == "fatal")
                return &d;
        }
        return nullptr;
    }

private:
    HResult Record(const char* kind, ISAXLocator* l, std::u16string_view m, HResult c) {
        Diagnostic d{kind, U8(m), 0, 0, c};
        if (l) {
            std::int32_t line = 0, column = 0;
            l->getLineNumber(&line);
            l->getColumnNumber(&column);
            d.line = line;
            d.column = column;
        }
        reports.push_back(std::move(d));
        return S_OK;
    }
};

template <class T>
ComPtr<T> Create(const platform::com::Guid& clsid) {
    ComPtr<T> object;
    const HResult hr = platform::com::CreateInstance(clsid, object);
    if (platform::com::Failed(hr))
        return nullptr;
    return object;
}

// A reader with recording handlers attached.
struct ReaderRig {
    ComPtr<ISAXXMLReader> reader = Create<ISAXXMLReader>(kClsidSaxXmlReader40);
    ComPtr<RecordingHandler> content{new RecordingHandler};
    ComPtr<RecordingErrors> errors{new RecordingErrors};

    ReaderRig() {
        reader->putContentHandler(content.Get());
        reader->putErrorHandler(errors.Get());
    }
};

// A folder below the system temporary folder, removed with its contents.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "corekit-xml-XXXXXX");
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace xmltest
