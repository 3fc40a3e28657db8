// Application: the process-wide holder of the message listeners.
//
// Publishing walks the listeners in the order they were added. The list is
// not locked: publish from several threads only while no thread adds or
// removes listeners. At process exit the object publishes
// "Application '<program path>' finished." at kind 0, then drops its
// listeners.
#pragma once

#include <cstdint>
#include <vector>

#include "modules/system/MessageListener.h"
#include "xml/model/SmartPtr.h"

namespace System {

class Application {
public:
    static Application& Instance();

    // Appends a listener; the list keeps it alive. A null listener raises
    // NullPointerException and leaves the list unchanged.
    void AddListener(MessageListener* listener);
    // Removes the first entry holding `listener`; false when none does.
    bool RemoveListener(MessageListener* listener);
    std::size_t ListenerCount() const noexcept { return listeners_.size(); }

    void Publish(std::int32_t kind, const String& text);
    bool IsWanted(std::int32_t kind);

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application() = default;
    ~Application();

    std::vector<SmartPtr<MessageListener>> listeners_;
};

void AddMessageListener(MessageListener* listener);
bool RemoveMessageListener(MessageListener* listener);

void PublishMessage(std::int32_t kind, const String& text);
bool IsMessageWanted(std::int32_t kind);

inline void PublishInformation(const String& text) {
    PublishMessage(kMessageInformation, text);
}
inline void PublishError(const String& text) {
    PublishMessage(kMessageError, text);
}
inline void PublishWarning(const String& text) {
    PublishMessage(kMessageWarning, text);
}
inline void PublishTrace(const String& text) {
    PublishMessage(kMessageTrace, text);
}

}  // namespace System
