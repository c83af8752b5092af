#include "commands/import_warnings.h"

#include <array>
#include <charconv>

#include "base/count_text.h"

namespace vlt {

void add_picture_warnings(Warnings& warnings, const OutsideRead& outside,
                          std::string_view read_area, std::uint64_t missing_pixel_bytes) {
    if (outside.pixels > 0) {
        warnings.push_back("The picture is " + std::to_string(outside.picture_width) + " x " +
                           std::to_string(outside.picture_height) + "; " + std::string(read_area) +
                           ": " +
                           counted(outside.pixels, "pixel outside the picture was",
                                   "pixels outside the picture were") +
                           " read as FFFFFFFF.");
    }
    if (missing_pixel_bytes > 0) {
        warnings.push_back("The pixel data is " + counted(missing_pixel_bytes, "byte", "bytes") +
                           " short: the missing pixels were read as zero.");
    }
}

Warnings bigf_picture_warnings(const BigfReport& report, std::uint64_t missing_pixel_bytes) {
    Warnings warnings;
    if (report.surplus_pixels > 0) {
        warnings.push_back(counted(report.surplus_colours, "colour", "colours") +
                           " did not fit in palette entries 1 to 111: " +
                           counted(report.surplus_pixels, "pixel was", "pixels were") +
                           (report.surplus == SurplusColours::nearest
                                ? " given the nearest palette colour."
                                : " painted black."));
    }
    add_picture_warnings(warnings, report.outside, bigf_read_area, missing_pixel_bytes);
    return warnings;
}

Warnings bigf_picture_notes(const BigfReport& report) {
    if (report.reduced_colours == 0) {
        return {};
    }
    // With a point whatever the locale: the window's may write a comma.
    std::array<char, 32> error{};
    const auto end = std::to_chars(error.data(), error.data() + error.size(), report.mean_error,
                                   std::chars_format::fixed, 1)
                         .ptr;
    return {counted(report.reduced_colours, "colour was", "colours were") +
            " reduced to palette entries 1 to 111: mean error " + std::string(error.data(), end) +
            "."};
}

Warnings cliff_picture_warnings(const CliffReport& report, std::uint64_t missing_pixel_bytes) {
    Warnings warnings;
    if (report.unmatched_pixels > 0) {
        warnings.push_back(counted(report.unmatched_pixels, "pixel", "pixels") +
                           " matched no palette colour within 9 in each channel and took index 0.");
    }
    add_picture_warnings(warnings, report.outside, cliff_read_area, missing_pixel_bytes);
    return warnings;
}

Warnings palette_picture_warnings(const OutsideRead& outside, std::uint64_t missing_pixel_bytes) {
    Warnings warnings;
    add_picture_warnings(warnings, outside, palette_read_area, missing_pixel_bytes);
    return warnings;
}

Warnings data_file_warnings(std::uint64_t length, std::string_view kind, std::uint64_t size) {
    if (length == 0) {
        return {"The file is empty; nothing was loaded."};
    }
    if (length == size) {
        return {};
    }
    const std::string start = "The file is " + counted(length, "byte", "bytes") + "; " +
                              std::string(kind) + " is " + with_commas(size) +
                              " bytes: bytes from ";
    if (length < size) {
        return {start + with_commas(length) + " on kept their old values."};
    }
    return {start + with_commas(size) + " on were ignored."};
}

Warnings with_transparency_note(Warnings warnings, bool had_transparency) {
    if (had_transparency) {
        warnings.push_back(
            "The picture has pixels that are not opaque: their transparency was dropped.");
    }
    return warnings;
}

}  // namespace vlt
