// The namespace registry: namespace URI -> namespace object.
//
// Namespace objects enter themselves when they are constructed. Four
// namespaces belong to module libraries that are loaded, from the running
// program's folder, the first time a document needs them:
//
//   http://www.w3.org/2000/svg          libdrawing.so
//   http://www.w3.org/1999/XSL/Format   libpagefmt.so
//   urn:tamsil:plots                    libplots.so
//   urn:schemas-microsoft-com:vml       libshapes.so
//
// A module registers its namespace objects from its static initialisers;
// it reaches this registry because programs export the library's symbols.
#pragma once

#include "modules/system/String.h"
#include "platform/ModuleLoader.h"

class XmlNamespace;

// Stores `object` under `uri` (a null URI as the empty one); a later call
// for the same URI replaces the earlier object. Not locked: it runs while
// static objects are constructed (or while a module loads, under the
// registry lock held by LookupNamespace).
void RegisterNamespace(const System::String& uri, XmlNamespace* object);

// The namespace object for `uri`, loading the module of a known namespace
// first when needed; null (after the warning "Unknown namespace URI: '%s'"
// for a URI no module serves) when there is none. Lookups and the loads
// they cause run one at a time under a re-entrant lock.
XmlNamespace* LookupNamespace(const System::String& uri);

// Loads `fileName` from the running program's folder; raises the core error
// "Can't load module %s" with the full path when it cannot.
void LoadNamespaceModule(const System::String& fileName);

// The shared library the framework is linked into, or null when it is
// linked into the program (the usual case).
platform::ModuleHandle GetLibraryModule();
