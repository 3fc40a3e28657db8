// A first corekit program: a listener that prints every published message to
// standard error, an exception raised and caught, a formatted message, a log
// line, and the closing message the library publishes at exit.
#include <cstdio>
#include <string>

#include "modules/system/Application.h"
#include "modules/system/MessageTable.h"
#include "modules/system/StringFormatStream.h"
#include "platform/Utf8.h"
#include "services/CoreError.h"
#include "services/Logger.h"

namespace {

const char* KindName(std::int32_t kind) {
    switch (kind) {
        case System::kMessageInformation:
            return "information";
        case System::kMessageError:
            return "error";
        case System::kMessageWarning:
            return "warning";
        case System::kMessageTrace:
            return "trace";
        default:
            return "?";
    }
}

class StderrListener : public System::MessageListener {
public:
    void ReceiveMessage(std::int32_t kind, System::String text) override {
        std::fprintf(stderr, "[%s] %s\n", KindName(kind), platform::ToUtf8(text.View()).c_str());
    }
    bool WantsKind(std::int32_t) override { return true; }
};

}  // namespace

int main() {
    System::AddMessageListener(new StderrListener);

    try {
        System::String text(u"abc");
        text.At(7);  // raises "Index out of bounds", published before the handler runs
    } catch (const System::Exception& e) {
        std::printf("caught: %s (raised in %s, line %d)\n",
                    platform::ToUtf8(e.GetMessageText()).c_str(), e.GetSourceFile(),
                    e.GetSourceLine());
    }

    const System::String message = System::StringFormatStream::Format(
        System::LookupMessage(1016), System::String(u"/tmp/input.xml"), 512,
        System::String(u"No such file or directory"));
    std::printf("formatted: %s\n", platform::ToUtf8(message.View()).c_str());

    LogWarning(u"%d of %d checks passed (%0.3f)", 3, 4, 0.75);
    try {
        RaiseCoreError(u"Validation failed in '%s'", u"example.xml");
    } catch (const ECoreException& e) {
        std::printf("core error: %s\n", platform::ToUtf8(e.GetMessageText()).c_str());
    }
    return 0;
}
