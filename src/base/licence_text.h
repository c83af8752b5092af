#pragma once

#include <string_view>

namespace vlt {

// The program's licence in one sentence, for the window's About box and the documents.
inline constexpr std::string_view licence_text =
    "vosk-land-texture is free software under the GNU General Public License, version 3 or "
    "later (GPL-3.0-or-later), and comes with no warranty. It uses Qt (LGPL-3.0), libspng, "
    "zlib and libimagequant: see LICENSE and THIRD-PARTY-NOTICES for their licences and "
    "sources.";

}  // namespace vlt
