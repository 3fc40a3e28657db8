// A listener for test programs: prints "<kind> <text>" lines to stdout.
#pragma once

#include <cstdio>

#include "modules/system/Application.h"
#include "platform/Utf8.h"

class PrintingListener : public System::MessageListener {
public:
    void ReceiveMessage(std::int32_t kind, System::String text) override {
        std::printf("%d %s\n", kind, platform::ToUtf8(text.View()).c_str());
        std::fflush(stdout);
    }
    bool WantsKind(std::int32_t) override { return true; }
};
