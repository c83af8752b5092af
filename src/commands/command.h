#pragma once

#include <cstddef>

namespace vlt {

// Every command, in the order of the command table (command_table.cpp), which says what each is
// called, what it asks for and where the window offers it. The thirteen buttons come first, in
// tab order.
enum class Command {
    import_from_pal,
    save_pal_to_bitmap,
    save_to_pal,
    import_pal_from_bitmap,
    import_from_ciff,
    cliff_save_to_bitmap,
    import_from_bigf,
    save_bigf_to_bitmap,
    save_to_bigf,
    import_bigf_from_bitmap,
    import_cliff_from_bitmap,
    save_to_cliff,
    build_cliff,
    import_palette,
    export_palette,
    save_bigf_to_indexed_bitmap,
    save_cliff_to_indexed_bitmap,
    import_bigf_nearest,
    import_bigf_reduced,
    import_bigf_reduced_dithered,
    import_bigf_indices,
    import_cliff_indices,
    import_bigf_indices_taking_palette,
    import_cliff_indices_taking_palette,
};

inline constexpr std::size_t command_count =
    static_cast<std::size_t>(Command::import_cliff_indices_taking_palette) + 1;

}  // namespace vlt
