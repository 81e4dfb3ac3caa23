#pragma once
// An ordered list of entries of a document record: pension contracts, housing
// objects, education payments, and (through IncomeList) the income lists of the
// declaration. Position = index in the file, so a list holds at most kMaxListItems.
#include "core/StorageErrors.h"
#include "model/ListLimit.h"

#include <cstdint>
#include <deque>
#include <utility>

namespace kv {

template <class T> class RecordList {
public:
    std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
    bool empty() const { return items_.empty(); }

    // Appends the entry and returns its index; a full list throws ListFull and keeps what it has.
    std::int32_t add(T entry = T{}) {
        requireRoomInList(items_.size());
        items_.push_back(std::move(entry));
        return count() - 1;
    }
    // References stay valid while entries are added; remove() invalidates them.
    T& get(std::int32_t i) { return items_[checked(i)]; }
    const T& get(std::int32_t i) const { return items_[checked(i)]; }
    void set(std::int32_t i, T entry) { items_[checked(i)] = std::move(entry); }
    // Later entries move down one index.
    void remove(std::int32_t i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(checked(i))); }
    void clear() { items_.clear(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    friend bool operator==(const RecordList&, const RecordList&) = default;

private:
    std::size_t checked(std::int32_t i) const {
        if (i < 0 || static_cast<std::size_t>(i) >= items_.size())
            throw StorageAllocationError(msg::notAllocated());
        return static_cast<std::size_t>(i);
    }

    std::deque<T> items_;
};

} // namespace kv
