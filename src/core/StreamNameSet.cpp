#include "core/StreamNameSet.h"

#include <algorithm>

namespace kv {

inline StreamNameSet::Family& StreamNameSet::familyOf(std::string_view prefix, std::size_t digits) {
    // A document has a few dozen prefixes and reads long runs of one of them.
    if (lastFamily_ < families_.size()) {
        Family& last = families_[lastFamily_];
        if (last.digits == digits && last.prefix == prefix)
            return last;
    }
    return otherFamily(prefix, digits);
}

StreamNameSet::Family& StreamNameSet::otherFamily(std::string_view prefix, std::size_t digits) {
    for (std::size_t i = 0; i < families_.size(); ++i) {
        if (families_[i].digits == digits && families_[i].prefix == prefix) {
            lastFamily_ = i;
            return families_[i];
        }
    }
    families_.push_back({prefix, digits, {}});
    lastFamily_ = families_.size() - 1;
    return families_.back();
}

bool StreamNameSet::insert(std::string_view name) {
    std::size_t digits = 0;
    while (digits < name.size() && digits <= kMaxBitmapDigits && name[name.size() - 1 - digits] >= '0' &&
           name[name.size() - 1 - digits] <= '9')
        ++digits;
    if (digits == 0 || digits > kMaxBitmapDigits)
        return others_.insert(name).second;

    // The same number with another count of digits ("7", "07") is another name, so the
    // digit count is part of the family; a longer run of digits never reaches here.
    std::size_t number = 0;
    for (char c : name.substr(name.size() - digits))
        number = number * 10 + static_cast<std::size_t>(c - '0');
    Family& family = familyOf(name.substr(0, name.size() - digits), digits);
    // Bitmaps grow with the largest number met, so a small document keeps small ones.
    if (number / 64 >= family.bits.size())
        family.bits.resize(std::max(number / 64 + 1, 2 * family.bits.size()), 0);
    std::uint64_t& word = family.bits[number / 64];
    const std::uint64_t bit = std::uint64_t{1} << (number % 64);
    const bool fresh = (word & bit) == 0;
    word |= bit;
    return fresh;
}

void StreamNameSet::clear() {
    families_.clear();
    lastFamily_ = 0;
    others_.clear();
}

} // namespace kv
