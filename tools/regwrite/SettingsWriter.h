// SettingsWriter: reads a settings file and writes its settings below
// SOFTWARE\Tamsil\ in the machine hive.
//
// File format: single-byte text cut into lines at line feeds. After trimming,
// empty lines, lines starting with '#' and lines without '=' are ignored;
// other lines are "key path\value name = data". Data longer than two
// characters starting with 0x is a DWORD, anything else a string.
#pragma once

#include <cstdio>
#include <map>

#include "modules/system/String.h"

class SettingsWriter {
public:
    using SettingsMap = std::map<System::String, System::String>;

    explicit SettingsWriter(std::FILE* errors) : errors_(errors) {}

    // The whole run; returns the exit status: 0 when every setting was
    // written, 1 when the run stopped on an error or a setting could not be
    // written. Each failure is one "Error: " line.
    int Run(const System::String& path);

    // The settings of a file's text, complete before anything is written.
    // Raises IndexOutOfBoundsException for a line starting with '='.
    static SettingsMap Parse(const System::String& text);

private:
    // Writes one setting; false (after reporting it) when the registry
    // refused. Raises for a key starting with a backslash and for
    // unreadable DWORD data.
    bool Write(const System::String& key, const System::String& data);
    void Report(const System::String& message);

    std::FILE* errors_;
};
