#include "core/SharedText.h"

namespace kv {

SharedText::SharedText(Cp1251Text text) {
    // The empty text needs no buffer; every empty copy compares equal all the same.
    if (!text.empty())
        block_ = new Block{std::move(text)};
}

const Cp1251Text& SharedText::emptyText() noexcept {
    static const Cp1251Text empty;
    return empty;
}

} // namespace kv
