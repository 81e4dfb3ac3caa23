#pragma once
// The least any reader of a document file must do: take the file into memory and
// walk its items once, reading every length prefix and copying every text. The
// benchmarks hold opening a document against this pass.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kv::bench {

struct ItemPassResult {
    std::size_t items = 0;
    std::uint64_t checksum = 0; // keeps the copies from being optimised away
};

ItemPassResult passOverItems(const std::string& path);

} // namespace kv::bench
