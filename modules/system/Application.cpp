#include "modules/system/Application.h"

#include <algorithm>

#include "modules/system/StringFormatStream.h"
#include "platform/ProcessInfo.h"

namespace System {

namespace {

// Listeners may publish while they receive a message (a log that logs its
// own trouble, say). A listener that raises while receiving its own
// message would recurse without end; past this depth nested messages of the
// thread are dropped instead.
constexpr int kMaxPublishDepth = 16;
thread_local int t_publish_depth = 0;

struct DepthGuard {
    DepthGuard() { ++t_publish_depth; }
    ~DepthGuard() { --t_publish_depth; }
};

// Set once the application object is gone at exit: statics destroyed after
// it may still publish or raise, and then nothing is delivered.
bool g_application_destroyed = false;

// Constructed during start-up, so that it outlives every later static.
[[maybe_unused]] Application& g_application_at_startup = Application::Instance();

}  // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::~Application() {
    try {
        const String path(platform::ExecutablePath());
        Publish(kMessageInformation,
                StringFormatStream::Format(u"Application '{0}' finished.", path));
    } catch (...) {
        // Nothing may leave a destructor at process exit.
    }
    listeners_.clear();
    g_application_destroyed = true;
}

void Application::AddListener(MessageListener* listener) {
    if (!listener)
        COREKIT_RAISE(NullPointerException());
    listeners_.emplace_back(listener);
}

bool Application::RemoveListener(MessageListener* listener) {
    const auto found = std::find(listeners_.begin(), listeners_.end(), listener);
    if (found == listeners_.end())
        return false;
    // Keep the listener alive until it has left the list.
    SmartPtr<MessageListener> keep = *found;
    listeners_.erase(found);
    return true;
}

void Application::Publish(std::int32_t kind, const String& text) {
    if (listeners_.empty() || t_publish_depth >= kMaxPublishDepth)
        return;
    DepthGuard depth;
    // Indexes rather than iterators: a listener may add or remove listeners
    // on this thread while it is called. The local reference keeps the one
    // being called alive.
    for (std::size_t i = 0; i < listeners_.size();) {
        SmartPtr<MessageListener> listener = listeners_[i];
        listener->ReceiveMessage(kind, text);
        // Move on unless the entry left the list (then the next one now
        // sits at this index).
        if (i < listeners_.size() && listeners_[i] == listener)
            ++i;
    }
}

bool Application::IsWanted(std::int32_t kind) {
    for (std::size_t i = 0; i < listeners_.size(); ++i) {
        SmartPtr<MessageListener> listener = listeners_[i];
        if (listener->WantsKind(kind))
            return true;
    }
    return false;
}

void AddMessageListener(MessageListener* listener) {
    if (g_application_destroyed)
        return;
    Application::Instance().AddListener(listener);
}

bool RemoveMessageListener(MessageListener* listener) {
    if (g_application_destroyed)
        return false;
    return Application::Instance().RemoveListener(listener);
}

void PublishMessage(std::int32_t kind, const String& text) {
    if (g_application_destroyed)
        return;
    Application::Instance().Publish(kind, text);
}

bool IsMessageWanted(std::int32_t kind) {
    return !g_application_destroyed && Application::Instance().IsWanted(kind);
}

void PublishRaisedMessage(const Exception& exception) {
    if (g_application_destroyed)
        return;
    Application& application = Application::Instance();
    if (application.ListenerCount() == 0)
        return;
    application.Publish(kMessageError, String(exception.GetMessageText()));
}

}  // namespace System
