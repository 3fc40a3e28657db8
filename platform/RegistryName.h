// Names of registry keys and values: which names are valid, how a key path
// splits into key names, and the case folding under which names compare.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Longest key name (one path component) and value name, in UTF-16 code units.
inline constexpr std::size_t kMaxRegistryKeyNameLength = 255;
inline constexpr std::size_t kMaxRegistryValueNameLength = 16383;

// The upper-case form of one code unit under the Unicode simple upper-case
// mapping of the Basic Multilingual Plane. Code units outside that plane's
// letters (surrogates included) map to themselves. Two names are equal for
// the registry when their folded forms are equal, and subkeys enumerate in
// the order of their folded forms.
char16_t FoldRegistryChar(char16_t c);
std::u16string FoldRegistryName(std::u16string_view name);

// A key name is 1 to 255 code units without backslash or null, and well-formed
// UTF-16 (no unpaired surrogate). A value name may be empty (the default
// value) and may contain backslashes.
bool IsValidRegistryKeyName(std::u16string_view name);
bool IsValidRegistryValueName(std::u16string_view name);

// Splits `path` at backslashes into key names. An empty path gives no names;
// one trailing backslash is ignored. Fails (returning false) on an empty
// component (a leading or doubled backslash) or an invalid key name.
bool SplitRegistryPath(std::u16string_view path, std::vector<std::u16string_view>& parts);

}  // namespace platform
