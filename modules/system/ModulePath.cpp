#include "modules/system/ModulePath.h"

#include "modules/system/Exception.h"
#include "modules/system/MessageTable.h"
#include "modules/system/StringFormatStream.h"
#include "modules/system/SystemErrorText.h"
#include "platform/ProcessInfo.h"

namespace {
constexpr std::int32_t kModulePathFailed = 1037;
constexpr std::size_t kMaxPathUnits = 1023;

[[noreturn]] void RaisePathFailure() {
    const System::String message = System::StringFormatStream::Format(
        System::LookupMessage(kModulePathFailed), System::GetLastErrorText());
    COREKIT_RAISE(System::Exception(std::u16string(message.View())));
}
}  // namespace

System::String GetModulePath() {
    std::u16string path = platform::ExecutablePath();
    if (path.empty())
        RaisePathFailure();
    if (path.size() > kMaxPathUnits)
        path.resize(kMaxPathUnits);
    return System::String(std::move(path));
}

System::String GetModuleDirectory() {
    std::u16string path = platform::ExecutableDirectory();
    if (path.empty())
        RaisePathFailure();
    return System::String(std::move(path));
}
