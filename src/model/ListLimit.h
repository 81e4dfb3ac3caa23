#pragma once
// Lists of the document are limited because a record's position is part of its
// stream names with exactly three digits ("@ThirteenPercent000"): a thousandth and
// later entry would get a longer name that can coincide with another record's name
// ("@SourseIncome1001000" is both source 100 line 1000 and source 1001 line 0).
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

constexpr int kMaxListItems = 1000;

// Adding an entry to a full list. Nothing already entered is touched.
class ListFull : public std::runtime_error {
public:
    ListFull();
};

// Throws ListFull when a list of currentCount entries cannot take one more.
void requireRoomInList(std::size_t currentCount);

// A count read from a document file: more entries than a list may hold can only
// come from a damaged file, so it is a bad format, never a reason to allocate.
void requireStoredCount(std::int64_t count);

// prefix + index as three digits ("@ThirtyPercent" + 7 -> "@ThirtyPercent007").
std::string indexedStreamName(std::string_view prefix, int index);
// prefix + owner index + entry index ("@SourseIncome" + 0 + 2 -> "@SourseIncome000002").
std::string indexedStreamName(std::string_view prefix, int ownerIndex, int entryIndex);

} // namespace kv
