// Test helpers: a listener that records what it receives, installed for the
// length of a scope.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "modules/system/Application.h"
#include "xml/model/SmartPtr.h"

class RecordingListener : public System::MessageListener {
public:
    struct Message {
        std::int32_t kind;
        std::u16string text;
        bool operator==(const Message&) const = default;
    };

    explicit RecordingListener(std::function<bool(std::int32_t)> wants = nullptr)
        : wants_(std::move(wants)) {}

    void ReceiveMessage(std::int32_t kind, System::String text) override {
        messages.push_back({kind, std::u16string(text.View())});
        if (onReceive)
            onReceive(kind);
    }
    bool WantsKind(std::int32_t kind) override {
        ++wantsCalls;
        return wants_ ? wants_(kind) : true;
    }

    std::vector<Message> messages;
    int wantsCalls = 0;
    std::function<void(std::int32_t)> onReceive;

private:
    std::function<bool(std::int32_t)> wants_;
};

// Adds a listener on construction and removes it on destruction.
class ScopedListener {
public:
    explicit ScopedListener(RecordingListener* listener) : listener_(listener) {
        System::AddMessageListener(listener);
    }
    ~ScopedListener() { System::RemoveMessageListener(listener_.Get()); }
    RecordingListener* operator->() const { return listener_.Get(); }
    RecordingListener& operator*() const { return *listener_.Get(); }

private:
    SmartPtr<RecordingListener> listener_;
};

inline std::string Utf8(const std::u16string& text) {
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}
