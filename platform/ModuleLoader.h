// Loading shared libraries at run time (dlopen). Loaded modules are never
// unloaded.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// An opaque handle of a loaded module; null for none.
using ModuleHandle = void*;

// Loads the library at `path` (UTF-16, full path) with its initialisers run
// and every symbol resolved now; its own dependencies come from its run path
// (build modules with $ORIGIN). Null on failure, with the reason in `error`.
ModuleHandle LoadModule(std::u16string_view path, std::string* error = nullptr);

// The shared library that holds this code, when it is linked into one; null
// when it is linked into the program itself.
ModuleHandle ModuleOfThisCode();

}  // namespace platform
