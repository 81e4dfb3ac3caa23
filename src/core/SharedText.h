#pragma once
// An immutable text whose copies share one buffer. The lines of a 13% source nearly all
// carry the same income name, a hundred thousand times in the largest return; sharing
// it spares an allocation and a free per line on every open, copy and close. The count
// of copies is not atomic: a text and its copies belong to one thread, like the document.
#include "core/Text.h"

#include <cstddef>
#include <utility>

namespace kv {

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(Cp1251Text text);
    SharedText(AsciiText text) : SharedText(Cp1251Text(text)) {}
    SharedText(const SharedText& other) noexcept : block_(other.block_) {
        if (block_ != nullptr)
            ++block_->copies;
    }
    SharedText(SharedText&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    SharedText& operator=(SharedText other) noexcept {
        std::swap(block_, other.block_);
        return *this;
    }
    ~SharedText() { release(); }

    const Cp1251Text& str() const noexcept { return block_ != nullptr ? block_->text : emptyText(); }
    operator const Cp1251Text&() const noexcept { return str(); }
    const std::string& bytes() const noexcept { return str().bytes(); }
    bool empty() const noexcept { return str().empty(); }
    std::size_t size() const noexcept { return str().size(); }
    // True when both share one buffer (the texts are then equal too).
    bool sharesWith(const SharedText& other) const noexcept { return block_ == other.block_; }

    friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
        return a.block_ == b.block_ || a.str() == b.str();
    }
    friend bool operator==(const SharedText& a, const Cp1251Text& b) noexcept { return a.str() == b; }
    friend bool operator==(const SharedText& a, AsciiText b) noexcept { return a.str() == b; }

private:
    struct Block {
        Cp1251Text text;
        std::size_t copies = 1;
    };
    static const Cp1251Text& emptyText() noexcept;
    void release() noexcept {
        if (block_ != nullptr && --block_->copies == 0)
            delete block_;
        block_ = nullptr;
    }

    Block* block_ = nullptr;
};

} // namespace kv
