#pragma once
// Lists of the document are limited because a record's position is part of its
// stream names with exactly three digits ("@ThirteenPercent000"): a thousandth and
// later entry would get a longer name that can coincide with another record's name
// ("@SourseIncome1001000" is both source 100 line 1000 and source 1001 line 0).
#include "core/Text.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

constexpr int kMaxListItems = 1000;

// Adding an entry to a full list. Nothing already entered is touched.
class ListFull : public Cp1251Error {
public:
    ListFull();
};

// Throws ListFull when a list of currentCount entries cannot take one more.
inline void requireRoomInList(std::size_t currentCount) {
    if (currentCount >= static_cast<std::size_t>(kMaxListItems))
        throw ListFull();
}

// A count read from a document file: more entries than a list may hold can only
// come from a damaged file, so it is a bad format, never a reason to allocate.
void requireStoredCount(std::int64_t count);

// A stream name made of a record's prefix and its three-digit positions. It lives on
// the stack: a document has a stream per line, a hundred thousand of them at most,
// and naming each one must not cost an allocation.
class StreamName {
public:
    static constexpr std::size_t kCapacity = 48;

    operator std::string_view() const { return {text_, size_}; }
    std::string_view view() const { return {text_, size_}; }

private:
    friend StreamName indexedStreamName(std::string_view prefix, int index);
    friend StreamName indexedStreamName(std::string_view prefix, int ownerIndex, int entryIndex);
    StreamName(std::string_view prefix, std::initializer_list<int> indices);

    char text_[kCapacity];
    std::size_t size_ = 0;
};

// prefix + index as three digits ("@ThirtyPercent" + 7 -> "@ThirtyPercent007").
StreamName indexedStreamName(std::string_view prefix, int index);
// prefix + owner index + entry index ("@SourseIncome" + 0 + 2 -> "@SourseIncome000002").
StreamName indexedStreamName(std::string_view prefix, int ownerIndex, int entryIndex);

} // namespace kv
