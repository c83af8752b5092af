#include "commands/editor_state.h"

#include <algorithm>
#include <utility>

namespace vlt {
namespace {

template <typename T, std::size_t N>
std::span<std::uint8_t> bytes_of(std::array<T, N>& buffer) {
    return {reinterpret_cast<std::uint8_t*>(buffer.data()), sizeof(buffer)};
}

// The three buffers in the order palette, bigf, cliff.
std::array<std::span<std::uint8_t>, 3> buffers_of(Workspace& workspace) {
    return {bytes_of(workspace.pal_colors), bytes_of(workspace.bigf_data),
            bytes_of(workspace.cliff_data)};
}

ViewPicture picture_of(const View& view) {
    ViewPicture held{view.picture_kind(), {}};
    if (const Bitmap* picture = view.bitmap()) {
        held.picture = *picture;
    }
    return held;
}

// Takes the view's picture out, leaving the view to be given another at once.
ViewPicture take_picture(View& view) {
    ViewPicture held{view.picture_kind(), {}};
    if (held.kind == PictureKind::bitmap) {
        held.picture = std::move(view.bitmap_access());
    }
    return held;
}

// Everything but the pixels and the attributes.
bool same_format(const Bitmap& a, const Bitmap& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           a.bits_per_pixel() == b.bits_per_pixel() && a.row_order() == b.row_order() &&
           a.compression() == b.compression() && a.masks() == b.masks() &&
           a.color_table() == b.color_table() && a.pixels().size() == b.pixels().size();
}

bool same_attributes(const BmpAttributes& a, const BmpAttributes& b) {
    return a.form == b.form && a.x_pels_per_meter == b.x_pels_per_meter &&
           a.y_pels_per_meter == b.y_pels_per_meter && a.file_color_count == b.file_color_count &&
           a.file_important_colors == b.file_important_colors;
}

}  // namespace

std::unique_ptr<EditorState> EditorState::capture(const EditorParts& live) {
    auto state = std::make_unique<EditorState>();
    state->workspace = live.workspace;
    for (std::size_t i = 0; i < live.views.size(); ++i) {
        state->pictures[i] = picture_of(*live.views[i]);
    }
    state->sources = live.sources;
    state->files = live.files;
    return state;
}

StateChange::StateChange(EditorState& before, const EditorParts& live) : live_(live) {
    const auto kept = buffers_of(before.workspace);
    const auto now = buffers_of(live.workspace);
    for (std::size_t i = 0; i < buffers_.size(); ++i) {
        buffers_[i] = ByteDelta(kept[i], now[i]);
    }
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i] = picture_change(before.pictures[i], *live.views[i]);
    }
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        if (before.sources[i] != live.sources[i]) {
            sources_[i] = std::move(before.sources[i]);
        }
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (before.files[i] != live.files[i]) {
            files_[i] = std::move(before.files[i]);
        }
    }
}

std::optional<StateChange::PictureChange> StateChange::picture_change(ViewPicture& before,
                                                                      const View& live) {
    const Bitmap* now = live.bitmap();
    if (before.kind == live.picture_kind() && now == nullptr) {
        return std::nullopt;  // nothing on either side, or the same stand-in kind
    }
    if (before.kind == PictureKind::bitmap && now != nullptr && same_format(before.picture, *now)) {
        PictureChange change{before.picture.attributes,
                             ByteDelta(before.picture.pixels(), now->pixels()), std::nullopt};
        if (change.pixels.empty() && same_attributes(change.attributes, now->attributes)) {
            return std::nullopt;
        }
        return change;
    }
    return PictureChange{{}, {}, std::move(before)};
}

bool StateChange::only_file_records() const {
    return std::ranges::all_of(buffers_, &ByteDelta::empty) &&
           std::ranges::none_of(pictures_, [](const auto& p) { return p.has_value(); }) &&
           std::ranges::none_of(sources_, [](const auto& s) { return s.has_value(); });
}

bool StateChange::empty() const {
    return only_file_records() &&
           std::ranges::none_of(files_, [](const auto& f) { return f.has_value(); });
}

void StateChange::flip() {
    const auto now = buffers_of(live_.workspace);
    for (std::size_t i = 0; i < buffers_.size(); ++i) {
        buffers_[i].swap_with(now[i]);
    }
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        if (sources_[i]) {
            std::swap(*sources_[i], live_.sources[i]);
        }
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (files_[i]) {
            std::swap(*files_[i], live_.files[i]);
        }
    }
    // Pictures last: a repaint sees the buffers as they now are.
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        if (pictures_[i]) {
            flip_picture(*pictures_[i], *live_.views[i]);
            live_.views[i]->refresh();
        }
    }
}

void StateChange::flip_picture(PictureChange& change, View& live) {
    if (change.whole) {
        ViewPicture other = take_picture(live);
        if (change.whole->kind == PictureKind::bitmap) {
            live.take_picture(std::move(change.whole->picture));
        } else {
            live.clear_picture();
        }
        change.whole = std::move(other);
        return;
    }
    if (live.bitmap() == nullptr) {
        return;  // changed behind the history's back: nothing it can put back
    }
    Bitmap& picture = live.bitmap_access();
    change.pixels.swap_with(picture.pixels());
    std::swap(change.attributes, picture.attributes);
    live.mark_for_repaint();
}

std::size_t StateChange::memory() const {
    std::size_t total = sizeof(*this);
    for (const ByteDelta& delta : buffers_) {
        total += delta.memory();
    }
    for (const auto& picture : pictures_) {
        if (picture) {
            total += picture->pixels.memory();
            if (picture->whole) {
                total += picture->whole->picture.pixels().size() +
                         picture->whole->picture.color_table().size() * sizeof(RgbQuad);
            }
        }
    }
    for (const auto& file : files_) {
        if (file) {
            total += file->saved_bytes.capacity();
        }
    }
    return total;
}

}  // namespace vlt
