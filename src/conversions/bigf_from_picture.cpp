#include "conversions/bigf_from_picture.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <span>

#include "conversions/bigf_reduction.h"
#include "conversions/colour_filter.h"
#include "conversions/colour_counter.h"
#include "conversions/colours_by_cell.h"
#include "conversions/first_index_table.h"
#include "conversions/nearest_entry_finder.h"
#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

// Kept out of the pixel loops it is rarely called from, so that they stay small enough to inline
// what they call per pixel.
#if defined(__GNUC__)
#define VLT_OUT_OF_LINE [[gnu::noinline]]
#define VLT_INLINE [[gnu::always_inline]] inline
#else
#define VLT_OUT_OF_LINE
#define VLT_INLINE inline
#endif

// The colour of a pixel stored blue, green, red (and a byte that carries no colour), from one
// four-byte read.
inline Color packed_color(const std::uint8_t* pixel) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t word = 0;
        std::memcpy(&word, pixel, 4);
#if defined(__GNUC__)
        return __builtin_bswap32(word) >> 8;
#else
        return (word >> 16 & 0xFFu) | (word & 0xFF00u) | (word & 0xFFu) << 16;
#endif
    } else {
        return make_color(pixel[2], pixel[1], pixel[0]);
    }
}

// What index_of gives, in the nearest-colour conversion, for a colour that finds no room and
// that the table does not remember: one of many, answered with the others at the end.
constexpr int unremembered = FirstIndexTable::no_entry + 1;

class Conversion {
public:
    Conversion(Palette& palette, Bitmap& picture, SurplusColours surplus,
               std::span<std::uint8_t> texels)
        : palette_(palette), picture_(picture), surplus_(surplus), texels_(texels) {}

    // One row of the texture: reads its pixels, stores their indices, and paints the pixels that
    // find no room in the colour of the entry they were given. The kind of entry is settled when
    // the code is made, so that painting black costs what it did before there was a choice.
    template <SurplusColours surplus_colours_to>
    void convert_row(int y, std::span<std::uint8_t> indices) {
        if (packed_rows_ && y < picture_.height()) {
            if (surplus_colours_to == SurplusColours::nearest && deferred_) {
                convert_packed_row<surplus_colours_to, true>(picture_.row(y), indices);
            } else {
                convert_packed_row<surplus_colours_to, false>(picture_.row(y), indices);
            }
            return;
        }
        read_pixel_row(picture_, y, row_);
        // The picture's row is found once: surplus pixels are painted in place.
        const bool row_inside = y < picture_.height();
        std::uint8_t* const pixels = row_inside ? picture_.row(y) : nullptr;
        const std::size_t inside =
            row_inside ? std::min(row_.size(), static_cast<std::size_t>(picture_.width())) : 0;
        // Counted in a local, which the byte stores cannot alias.
        std::uint64_t surplus = 0;
        for (std::size_t x = 0; x < row_.size(); ++x) {
            if (const int index = index_of(row_[x]); index < FirstIndexTable::no_entry) {
                indices[x] = static_cast<std::uint8_t>(index);
            } else if (surplus_colours_to == SurplusColours::nearest && index == unremembered) {
                defer(row_[x], indices[x]);
                ++surplus;
            } else {
                std::uint8_t entry = 0;
                if constexpr (surplus_colours_to == SurplusColours::nearest) {
                    entry = nearest_entry(row_[x]);
                }
                indices[x] = entry;
                ++surplus;
                if (bytes_per_pixel_ == 0) {
                    picture_.set_pixel(static_cast<int>(x), y, palette_[entry]);
                } else if (x < inside) {
                    if constexpr (surplus_colours_to == SurplusColours::nearest) {
                        paint(pixels + bytes_per_pixel_ * x, entry);
                    } else {
                        paint_black(pixels + bytes_per_pixel_ * x);
                    }
                }
            }
        }
        surplus_pixels_ += surplus;
    }

    // The same for a row of a true-colour picture that covers the whole texture row: each
    // pixel is read where it lies, with no row of colours in between, and the pixel size is
    // settled when the code is made.
    template <SurplusColours surplus_colours_to, bool filtered>
    void convert_packed_row(std::uint8_t* pixels, std::span<std::uint8_t> indices) {
        if (bytes_per_pixel_ == 4) {
            convert_packed_pixels<surplus_colours_to, 4, filtered>(pixels, indices);
        } else {
            convert_packed_pixels<surplus_colours_to, 3, filtered>(pixels, indices);
        }
    }

    template <SurplusColours surplus_colours_to, std::size_t bytes_per_pixel, bool filtered>
    void convert_packed_pixels(std::uint8_t* pixels, std::span<std::uint8_t> indices) {
        std::uint64_t surplus = 0;
        // Four bytes are read at a time, so the last pixel of a row of three-byte pixels, whose
        // fourth byte may lie past the store, is read byte by byte.
        const std::size_t last = indices.size() - 1;
        std::uint8_t* pixel = pixels;
        for (std::uint8_t *out = indices.data(), *end = out + last; out != end; ++out) {
            convert_filtered<surplus_colours_to, bytes_per_pixel, filtered>(packed_color(pixel),
                                                                         pixel, *out, surplus);
            pixel += bytes_per_pixel;
        }
        convert_filtered<surplus_colours_to, bytes_per_pixel, filtered>(
            make_color(pixel[2], pixel[1], pixel[0]), pixel, indices[last], surplus);
        surplus_pixels_ += surplus;
    }

    // Once colours wait, the palette and the table no longer change, and most colours are in
    // neither: the filter tells so without the table's search, whose length the processor
    // cannot guess.
    template <SurplusColours surplus_colours_to, std::size_t bytes_per_pixel, bool filtered>
    VLT_INLINE void convert_filtered(Color color, std::uint8_t* pixel, std::uint8_t& index,
                                     std::uint64_t& surplus) {
        if (filtered && !in_table_.may_hold(color)) {
            ++surplus;
            defer(color, index);
        } else {
            convert_pixel<surplus_colours_to, bytes_per_pixel>(color, pixel, index, surplus);
        }
    }

    // Inlined into the row's loop, which a call per pixel would cost a third of its time.
    template <SurplusColours surplus_colours_to, std::size_t bytes_per_pixel>
    VLT_INLINE void convert_pixel(Color color, std::uint8_t* pixel, std::uint8_t& index,
                       std::uint64_t& surplus) {
        const int found = index_of(color);
        if (found < FirstIndexTable::no_entry) {
            index = static_cast<std::uint8_t>(found);
            return;
        }
        ++surplus;
        std::uint8_t entry = 0;
        if constexpr (surplus_colours_to == SurplusColours::nearest) {
            if (found == unremembered) {
                defer(color, index);
                return;
            }
            entry = nearest_entry(color);
            // Blue, green and red only: a 32-bit pixel's fourth byte, often alpha, stays.
            std::memcpy(pixel, pixel_bytes_[entry].data(), 3);
        } else {
            std::memset(pixel, 0, 3);
        }
        index = entry;
    }

    // Gives the deferred texels their nearest entries, counts their colours, and paints them.
    VLT_OUT_OF_LINE void answer_deferred() {
        if (!deferred_) {
            return;
        }
        deferred_->sort();
        finder().nearest_all(*deferred_, texels_);
        deferred_distinct_ = deferred_->distinct();
        if (packed_rows_ && bytes_per_pixel_ == 4) {
            paint_packed<4>(deferred_->positions());
        } else if (packed_rows_) {
            paint_packed<3>(deferred_->positions());
        } else {
            for (const std::uint32_t texel : deferred_->positions()) {
                paint_texel(texel);
            }
        }
    }

    BigfReport report() const {
        return {remembered_surplus_ + unremembered_surplus_.count() + deferred_distinct_,
                surplus_pixels_, outside_read(picture_, bigf_width, bigf_height), surplus_};
    }

private:
    // The first palette entry equal to the colour, a new entry for it, or no_entry.
    int index_of(Color color) {
        const int found = first_index_.find(color);
        return found != FirstIndexTable::unknown ? found : index_of_new(color);
    }

    VLT_OUT_OF_LINE int index_of_new(Color color) {
        if (next_free_ < bigf_rebuilt_entries) {
            palette_[static_cast<std::size_t>(next_free_)] = color;
            first_index_.add(color, next_free_);
            return next_free_++;
        }
        // The palette is full from here on: the colour will never find an entry. A colour the
        // table remembers is counted once, here; the others each time they come, counted at the
        // end.
        if (first_index_.can_remember_absent()) {
            first_index_.add(color, FirstIndexTable::no_entry);
            ++remembered_surplus_;
        } else if (surplus_ == SurplusColours::nearest) {
            return unremembered;
        } else {
            unremembered_surplus_.add(color);
        }
        return FirstIndexTable::no_entry;
    }

    // Colours the table cannot remember are many and seldom repeat, which the finder's cache
    // of answers would only miss: they wait, and are answered together, cell by cell.
    void defer(Color color, const std::uint8_t& index) {
        const auto texel = static_cast<std::uint32_t>(&index - texels_.data());
        if (!deferred_) {
            make_room_to_defer(texel);
        }
        deferred_->add(color, texel);
    }

    // Room for every texel from this one on, which is all that can come. The palette and the
    // table are full by now, and stay so: the filter learns what the table holds.
    VLT_OUT_OF_LINE void make_room_to_defer(std::uint32_t texel) {
        deferred_.emplace(texels_.size() - texel);
        first_index_.for_each_colour([this](Color c) { in_table_.add(c); });
    }

    // Paints a deferred texel's pixel in its entry's colour, as the row's loop would have.
    void paint_texel(std::uint32_t texel) {
        const std::uint8_t entry = texels_[texel];
        const int x = static_cast<int>(texel % bigf_width);
        const int y = static_cast<int>(texel / bigf_width);
        if (bytes_per_pixel_ == 0) {
            picture_.set_pixel(x, y, palette_[entry]);
        } else if (y < picture_.height() && x < std::min(picture_.width(), bigf_width)) {
            paint(picture_.row(y) + bytes_per_pixel_ * static_cast<std::size_t>(x), entry);
        }
    }

    // The same for rows read in place, in scan order, with the pixel size settled when the code
    // is made and each row found once.
    template <std::size_t bytes_per_pixel>
    void paint_packed(std::span<const std::uint32_t> texels) {
        const std::uint8_t* const entries = texels_.data();
        const auto height = static_cast<std::uint32_t>(picture_.height());
        std::uint32_t y = bigf_height;
        std::uint8_t* row = nullptr;
        for (const std::uint32_t texel : texels) {
            if (texel / bigf_width != y) {
                y = texel / bigf_width;
                row = y < height ? picture_.row(static_cast<int>(y)) : nullptr;
            }
            if (row != nullptr) {
                std::memcpy(row + bytes_per_pixel * (texel % bigf_width),
                            pixel_bytes_[entries[texel]].data(), 3);
            }
        }
    }

    // The entry nearest to the colour. By the time a colour finds no room, entries 1 to 111 are
    // all taken: the palette no longer changes.
    std::uint8_t nearest_entry(Color color) { return finder().nearest(color); }

    NearestEntryFinder& finder() {
        if (!nearest_) {
            nearest_.emplace(palette_);
            for (std::size_t e = 0; e < palette_.size(); ++e) {
                const Color c = palette_[e];
                pixel_bytes_[e] = {blue_of(c), green_of(c), red_of(c), 0};
            }
        }
        return *nearest_;
    }

    // What set_pixel does with black, without settling the format per pixel in the formats that
    // full-size pictures come in: the colour bytes zero in true colour (a 32-bit pixel's fourth
    // byte, often alpha, stays), one fixed table entry in 8 bits.
    void paint_black(std::uint8_t* pixel) const {
        // Fixed sizes, so that no call to memset is made per pixel.
        if (bytes_per_pixel_ == 4 || bytes_per_pixel_ == 3) {
            std::memset(pixel, 0, 3);
        } else {
            *pixel = black_entry_;
        }
    }

    // The same with an entry's colour; in 8 bits its nearest table entry, found once.
    void paint(std::uint8_t* pixel, std::uint8_t entry) {
        if (bytes_per_pixel_ == 4 || bytes_per_pixel_ == 3) {
            std::memcpy(pixel, pixel_bytes_[entry].data(), 3);
        } else {
            *pixel = table_index(entry);
        }
    }

    // The 8-bit picture's table entry nearest to a palette entry's colour.
    std::uint8_t table_index(std::uint8_t entry) {
        std::int16_t& index = table_index_[entry];
        if (index < 0) {
            index = picture_.nearest_index(palette_[entry]);
        }
        return static_cast<std::uint8_t>(index);
    }

    Palette& palette_;
    Bitmap& picture_;
    const SurplusColours surplus_;
    const std::span<std::uint8_t> texels_;
    std::optional<NearestEntryFinder> nearest_;
    FirstIndexTable first_index_{palette_};
    int next_free_ = 1;  // entry 0 stays black
    std::uint64_t surplus_pixels_ = 0;
    std::uint64_t remembered_surplus_ = 0;
    ColourCounter unremembered_surplus_;
    // The nearest-colour conversion's texels that wait for their entries, with their colours
    // (made at the first that waits), and what the table holds by then.
    std::optional<ColoursByCell> deferred_;
    ColourFilter in_table_;
    std::uint64_t deferred_distinct_ = 0;
    std::array<Color, bigf_width> row_{};
    const std::size_t bytes_per_pixel_ = is_display_format(picture_)       ? 4
                                         : picture_.bits_per_pixel() == 24 ? 3
                                         : picture_.bits_per_pixel() == 8  ? 1
                                                                           : 0;
    // Rows read in place: a true-colour picture at least as wide as the texture.
    const bool packed_rows_ =
        (bytes_per_pixel_ == 3 || bytes_per_pixel_ == 4) && picture_.width() >= bigf_width;
    const std::uint8_t black_entry_ =
        picture_.bits_per_pixel() == 8 ? picture_.nearest_index(0) : std::uint8_t{0};
    // The entries' colours as true-colour pixels, once the palette is final.
    std::array<std::array<std::uint8_t, 4>, palette_size> pixel_bytes_{};
    std::array<std::int16_t, palette_size> table_index_ = [] {
        std::array<std::int16_t, palette_size> unknown{};
        unknown.fill(-1);
        return unknown;
    }();
};

}  // namespace

// The same as reading each pixel through the view and searching the palette from entry 0 on:
// the table gives the first equal entry, and a new colour takes an entry that held 0, which
// entry 0 holds first.
BigfReport bigf_from_picture(Workspace& workspace, Bitmap& picture, SurplusColours surplus) {
    if (surplus == SurplusColours::reduced || surplus == SurplusColours::reduced_dithered) {
        return bigf_reduced_from_picture(workspace, picture,
                                         surplus == SurplusColours::reduced_dithered);
    }
    Palette& palette = workspace.pal_colors;
    std::fill_n(palette.begin(), bigf_rebuilt_entries, Color{0});
    Conversion conversion(palette, picture, surplus, workspace.bigf_data);
    for (int y = 0; y < bigf_height; ++y) {
        const auto row = std::span(workspace.bigf_data)
                             .subspan(static_cast<std::size_t>(y) * bigf_width, bigf_width);
        if (surplus == SurplusColours::nearest) {
            conversion.convert_row<SurplusColours::nearest>(y, row);
        } else {
            conversion.convert_row<SurplusColours::black>(y, row);
        }
    }
    conversion.answer_deferred();
    return conversion.report();
}

}  // namespace vlt
