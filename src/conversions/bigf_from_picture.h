#pragma once

#include <cstdint>

#include "conversions/outside_read.h"
#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

// Entries 0 to 111 are the block a bigf picture rebuilds; the rest of the palette is kept.
inline constexpr int bigf_rebuilt_entries = 112;

// What a new colour that finds no free entry gets: index 0 (black), or the entry nearest to it
// among all 256 as they stand once entries 1 to 111 are taken (squared RGB distance, ties to the
// lowest index). Or, reduced: entries 1 to 111 are chosen for the whole picture when its colours
// do not all fit, and every texel takes the nearest entry, or with dithering the entry error
// diffusion gives it (bigf_reduction.h).
enum class SurplusColours { black, nearest, reduced, reduced_dithered };

// What a bigf conversion lost: the colours that found no room and the texels they cover.
struct BigfReport {
    std::uint64_t surplus_colours = 0;  // distinct colours, CLR_INVALID read outside included
    std::uint64_t surplus_pixels = 0;   // texels given another entry for want of room
    OutsideRead outside;
    SurplusColours surplus = SurplusColours::black;  // what the surplus texels were given
    // A reduction's distinct colours that no entry held (none when the picture fitted), and the
    // mean RGB distance from the picture's pixels to their entries' colours.
    std::uint64_t reduced_colours = 0;
    double mean_error = 0;
};

// Turns the bigf view's picture into `bigf_data`, rebuilding palette entries 0 to 111 from the
// picture's own colours in scan order. Colours match exactly, first entry wins; a new colour
// that finds no free entry gets the index `surplus` says, and its pixel is painted in that
// entry's colour in the picture.
BigfReport bigf_from_picture(Workspace& workspace, Bitmap& picture,
                             SurplusColours surplus = SurplusColours::black);

}  // namespace vlt
