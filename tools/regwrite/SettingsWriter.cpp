#include "tools/regwrite/SettingsWriter.h"

#include "modules/system/Exception.h"
#include "modules/system/FileStream.h"
#include "modules/system/Format.h"
#include "modules/system/RegKey.h"
#include "modules/system/SystemErrorText.h"
#include "modules/system/TextReader.h"
#include "platform/Utf8.h"
#include "services/Settings.h"

using System::String;

namespace {

bool IsDwordData(const String& data) {
    const std::u16string_view text = data.View();
    return text.size() > 2 && text[0] == u'0' && text[1] == u'x';
}

}  // namespace

SettingsWriter::SettingsMap SettingsWriter::Parse(const String& text) {
    SettingsMap settings;
    for (String line : text.Split(u'\n')) {
        line.Trim();
        if (line.Length() == 0 || line.View()[0] == u'#')
            continue;
        const std::int32_t equals = line.IndexOf(u'=');
        if (equals < 0)
            continue;
        // A line starting with '=' has no key: Substring(0, -1) raises.
        String key = line.Substring(0, equals - 1);
        String data = line.Substring(equals + 1, static_cast<std::int32_t>(line.Length()) - 1);
        key.Trim();
        data.Trim();
        settings[key] = data;
    }
    return settings;
}

void SettingsWriter::Report(const String& message) {
    std::fprintf(errors_, "Error: %s\n", platform::ToUtf8(message.View()).c_str());
    std::fflush(errors_);
}

bool SettingsWriter::Write(const String& key, const String& data) {
    const std::int32_t slash = key.LastIndexOf(u'\\');
    if (slash < 0)
        return true;  // no key path: skipped
    // A key starting with a backslash has an empty key path:
    // Substring(0, -1) raises.
    const String keyPath = key.Substring(0, slash - 1);
    const String valueName = key.Substring(slash + 1, static_cast<std::int32_t>(key.Length()) - 1);
    const bool isDword = IsDwordData(data);
    const std::uint32_t number =
        isDword ? static_cast<std::uint32_t>(System::Format::ParseHex(data)) : 0;

    RegKey registryKey(RegKey::LocalMachine(), (String(kSettingsRootPath) + keyPath).CStr(), true);
    // A key that could not be made keeps the reason as the last error.
    const bool written =
        registryKey.IsOpen() && (isDword ? registryKey.SetDword(valueName.CStr(), number)
                                         : registryKey.SetString(valueName.CStr(), data));
    if (!written) {
        Report(String(u"Can't write the setting '") + key + String(u"': ") +
               System::GetLastErrorText() + String(u"."));
    }
    return written;
}

int SettingsWriter::Run(const String& path) {
    bool allWritten = true;
    try {
        String text;
        {
            SmartPtr<System::IO::Stream> stream(new System::IO::FileStream(path, false, false));
            TextReader reader(stream, TextReader::kSingleByte);
            text = reader.ReadToEnd();
        }
        const SettingsMap settings = Parse(text);
        // One transaction for a burst of writes; each write stays atomic and
        // what is committed is always a prefix of the writes in map order.
        platform::RegistryWriteBatch batch(platform::RegistryHive::Machine);
        for (const auto& [key, data] : settings) {
            if (!Write(key, data))
                allWritten = false;
        }
        if (batch.Commit() != platform::kRegistryOk) {
            Report(String(u"Can't save the settings to the machine hive."));
            allWritten = false;
        }
    } catch (const System::Exception& e) {
        Report(e.GetMessage());
        return 1;
    }
    return allWritten ? 0 : 1;
}
