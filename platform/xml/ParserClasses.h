// Class ids of the parser components. Each component is registered in the
// class table under its 4.0 and its 3.0 id; both create the same libxml2
// based implementation.
#pragma once

#include "platform/com/Guid.h"

namespace platform::xml {

inline constexpr com::Guid kClsidSaxXmlReader40 =
    com::MakeGuid("{7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F}");
inline constexpr com::Guid kClsidSaxXmlReader30 =
    com::MakeGuid("{3124C396-FB13-4836-A6AD-1317F1713688}");
inline constexpr com::Guid kClsidMxXmlWriter40 =
    com::MakeGuid("{88D969C8-F192-11D4-A65F-0040963251E5}");
inline constexpr com::Guid kClsidMxXmlWriter30 =
    com::MakeGuid("{3D813DFE-6C91-4A4E-8F41-04346A841D9C}");
inline constexpr com::Guid kClsidSaxAttributes40 =
    com::MakeGuid("{88D969CA-F192-11D4-A65F-0040963251E5}");
inline constexpr com::Guid kClsidSaxAttributes30 =
    com::MakeGuid("{3E784A01-F3AE-4DC0-9354-9526B9370EBA}");
inline constexpr com::Guid kClsidFreeThreadedDomDocument40 =
    com::MakeGuid("{88D969C1-F192-11D4-A65F-0040963251E5}");
inline constexpr com::Guid kClsidFreeThreadedDomDocument30 =
    com::MakeGuid("{F5078F33-C551-11D3-89B9-0000F81FE221}");

}  // namespace platform::xml
