#include "base/save_policy.h"

namespace vlt {

SaveWay choose_save_way(const SaveTargetFacts& facts) {
    using Kind = SaveTargetFacts::Kind;
    switch (facts.kind) {
        case Kind::folder:
            return SaveWay::refuse_folder;
        case Kind::block_device:
            return SaveWay::refuse_device;
        case Kind::missing:
            return SaveWay::replace;
        case Kind::stream:
        case Kind::regular:
            break;
    }
    if (facts.marked_read_only) {
        return SaveWay::refuse_read_only;
    }
    if (facts.kind == Kind::stream) {
        return SaveWay::write_stream;
    }
    if (!facts.writable) {
        return SaveWay::refuse_not_writable;
    }
    return facts.hard_links > 1 ? SaveWay::write_in_place : SaveWay::replace;
}

}  // namespace vlt
