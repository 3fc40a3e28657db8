// regwrite FILE: writes the settings of FILE below SOFTWARE\Tamsil\ in the
// machine hive. The arguments, joined with single blanks, are the path.
#include <cstdio>
#include <string>

#include "modules/system/String.h"
#include "platform/Utf8.h"
#include "tools/regwrite/SettingsWriter.h"

int main(int argc, char** argv) {
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            path += ' ';
        path += argv[i];
    }
    SettingsWriter writer(stderr);
    return writer.Run(System::String(platform::ToUtf16(path)));
}
