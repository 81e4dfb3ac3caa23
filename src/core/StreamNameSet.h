#pragma once
// The set of stream names met while a document is read, answering "was this name met
// before?" for each new one. Names of a document are a record's prefix followed by its
// positions in digits ("@SourseIncome" + "012" + "034"), and they come in order, so the
// set keeps one bitmap of numbers per prefix and digit count: consecutive names touch
// neighbouring bits, where a hash table of a hundred thousand names would miss the
// cache on nearly every one. Other names go into an ordinary hash set.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kv {

class StreamNameSet {
public:
    // Adds the name; false when it was already in the set. The set keeps views: the
    // texts must outlive it (they are the document's bytes).
    bool insert(std::string_view name);
    void clear();

private:
    // Names ending in up to this many digits are kept in a bitmap (at most 10^6 bits, 125 KB).
    static constexpr std::size_t kMaxBitmapDigits = 6;

    struct Family {
        std::string_view prefix;
        std::size_t digits = 0;
        std::vector<std::uint64_t> bits;
    };
    [[gnu::always_inline]] Family& familyOf(std::string_view prefix, std::size_t digits);
    [[gnu::noinline]] Family& otherFamily(std::string_view prefix, std::size_t digits);

    std::vector<Family> families_;
    std::size_t lastFamily_ = 0;
    std::unordered_set<std::string_view> others_;
};

} // namespace kv
