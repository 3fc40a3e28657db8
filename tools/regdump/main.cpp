// regdump [--machine | --user] [KEY]: prints every key, value name, type and
// data stored below KEY (default SOFTWARE\Tamsil) of the machine hive (the
// default) or the user hive. Read-only.
//
// Output, one key per block, keys and values in name order:
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Tamsil\Render]
//   "Mode" = string:"fast"
//   "Timeout" = dword:0x0000001e
//   @ = string:"C:\\Fonts"          (@ is the key's default value)
//   "Raw" = type7:hex:01,02,ff      (any other type: its bytes)
#include <cstdio>
#include <cstring>
#include <string>

#include "modules/system/RegKey.h"
#include "platform/RegistryHive.h"
#include "platform/Utf8.h"

namespace {

std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
            out += escape;
        } else {
            platform::AppendUtf8(out, std::u16string_view(&c, 1));
        }
    }
    return out + "\"";
}

std::string Hex(const std::vector<std::uint8_t>& data) {
    std::string out = "hex:";
    for (std::size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", data[i]);
        out += byte;
    }
    return out;
}

std::string Data(const platform::RegistryValue& value) {
    const auto& d = value.data;
    if (value.type == platform::kRegistryDword && d.size() == 4) {
        char text[32];
        std::snprintf(text, sizeof text, "dword:0x%08x",
                      d[0] | d[1] << 8 | d[2] << 16 | unsigned(d[3]) << 24);
        return text;
    }
    // A string ends in exactly one null unit; anything else shows its bytes.
    if (value.type == platform::kRegistryString && d.size() >= 2 && d.size() % 2 == 0 &&
        d[d.size() - 1] == 0 && d[d.size() - 2] == 0) {
        std::u16string text;
        for (std::size_t i = 0; i + 2 < d.size(); i += 2)
            text.push_back(static_cast<char16_t>(d[i] | d[i + 1] << 8));
        if (text.find(u'\0') == std::u16string::npos)
            return "string:" + Quoted(text);
    }
    return (value.type == platform::kRegistryString  ? std::string("string")
            : value.type == platform::kRegistryDword ? std::string("dword")
                                                     : "type" + std::to_string(value.type)) +
           ":" + Hex(d);
}

int Dump(const RegKey::Handle& key, const std::string& path) {
    std::printf("[%s]\n", path.c_str());
    platform::RegistryValue value;
    std::u16string name;
    for (std::uint32_t i = 0; key.EnumValue(i, name, value) == platform::kRegistryOk; ++i) {
        std::printf("%s = %s\n", name.empty() ? "@" : Quoted(name).c_str(), Data(value).c_str());
    }
    int status = 0;
    for (std::uint32_t i = 0; key.EnumSubKey(i, name) == platform::kRegistryOk; ++i) {
        int code = 0;
        const RegKey::Handle child = RegKey::Handle::Open(key, name, false, &code);
        if (!child.IsOpen()) {
            std::fprintf(stderr, "regdump: can't open %s\\%s (code %d)\n", path.c_str(),
                         platform::ToUtf8(name).c_str(), code);
            status = 1;
            continue;
        }
        status |= Dump(child, path + "\\" + platform::ToUtf8(name));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    bool user = false;
    std::string keyPath = "SOFTWARE\\Tamsil";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--user") == 0) {
            user = true;
        } else if (std::strcmp(argv[i], "--machine") == 0) {
            user = false;
        } else if (std::strcmp(argv[i], "--help") == 0 || argv[i][0] == '-') {
            std::fprintf(stderr, "usage: regdump [--machine | --user] [KEY]\n");
            return argv[i][1] == '-' && std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        } else {
            keyPath = argv[i];
        }
    }
    while (!keyPath.empty() && keyPath.back() == '\\')
        keyPath.pop_back();
    const RegKey::Handle root = user ? RegKey::CurrentUser() : RegKey::LocalMachine();
    int code = 0;
    const RegKey::Handle key = RegKey::Handle::Open(root, platform::ToUtf16(keyPath), false, &code);
    const std::string hiveName = user ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
    if (!key.IsOpen()) {
        std::fprintf(stderr, "regdump: %s\\%s not found in %s\n", hiveName.c_str(), keyPath.c_str(),
                     platform::RegistryHivePath(user ? platform::RegistryHive::User
                                                     : platform::RegistryHive::Machine)
                         .c_str());
        return 1;
    }
    return Dump(key, keyPath.empty() ? hiveName : hiveName + "\\" + keyPath);
}
