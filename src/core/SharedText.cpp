#include "core/SharedText.h"

namespace kv {

SharedText::SharedText(std::string_view text) {
    // The empty text needs no buffer; every empty copy compares equal all the same.
    if (!text.empty())
        block_ = new Block{std::string(text)};
}

const std::string& SharedText::emptyText() noexcept {
    static const std::string empty;
    return empty;
}

} // namespace kv
