#pragma once
// An immutable text whose copies share one buffer. The lines of a 13% source nearly all
// carry the same income name, a hundred thousand times in the largest return; sharing
// it spares an allocation and a free per line on every open, copy and close. The count
// of copies is not atomic: a text and its copies belong to one thread, like the document.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace kv {

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string_view text);
    SharedText(const std::string& text) : SharedText(std::string_view(text)) {}
    SharedText(const char* text) : SharedText(std::string_view(text)) {}
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

    const std::string& str() const noexcept { return block_ != nullptr ? block_->text : emptyText(); }
    operator const std::string&() const noexcept { return str(); }
    operator std::string_view() const noexcept { return str(); }
    bool empty() const noexcept { return str().empty(); }
    std::size_t size() const noexcept { return str().size(); }
    // True when both share one buffer (the texts are then equal too).
    bool sharesWith(const SharedText& other) const noexcept { return block_ == other.block_; }

    friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
        return a.block_ == b.block_ || a.str() == b.str();
    }
    friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char* b) noexcept { return a.str() == b; }

private:
    struct Block {
        std::string text;
        std::size_t copies = 1;
    };
    static const std::string& emptyText() noexcept;
    void release() noexcept {
        if (block_ != nullptr && --block_->copies == 0)
            delete block_;
        block_ = nullptr;
    }

    Block* block_ = nullptr;
};

} // namespace kv
