// The XML carried by the barcodes: compressed, cut into parts with a header, and
// joined back only when every part of the same return is there.
#include "PrintTestSupport.h"
#include "print/BarcodeChunks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kv::print {
namespace {

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(rng() & 0xFF);
    return s;
}

TEST(BarcodeChunks, JoinGivesBackTheTextForAnyNumberOfParts) {
    const std::string repetitive(20000, 'x');
    const std::string noise = randomBytes(5000, 3); // does not compress: 5000+ bytes need 13 parts of 400
    struct Case {
        const std::string* text;
        std::size_t minChunks;
        std::size_t expected;
    };
    const Case cases[] = {
        {&repetitive, 1, 1}, {&repetitive, 9, 9}, // a part on every page even when the data needs fewer
        {&noise, 1, 13},     {&noise, 3, 13},     {&noise, 20, 20},
    };
    const std::size_t payload = 400;
    for (const Case& c : cases) {
        const auto chunks = splitIntoChunks(*c.text, c.minChunks, payload);
        ASSERT_EQ(chunks.size(), c.expected);
        if (c.minChunks == 1) {
            EXPECT_EQ(chunksNeeded(*c.text, payload), c.expected);
        }
        for (const std::string& chunk : chunks)
            EXPECT_LE(chunk.size(), kChunkHeaderSize + payload);
        EXPECT_EQ(joinChunks(chunks), *c.text);
    }
}

TEST(BarcodeChunks, PartsReadOutOfOrderStillJoin) {
    const std::string text = randomBytes(3000, 5);
    auto chunks = splitIntoChunks(text, 4);
    std::reverse(chunks.begin(), chunks.end());
    EXPECT_EQ(joinChunks(chunks), text);
}

TEST(BarcodeChunks, RefusesIncompleteDamagedOrMixedParts) {
    const std::string text = randomBytes(3000, 9);
    const auto good = splitIntoChunks(text, 4);
    const auto other = splitIntoChunks(randomBytes(3000, 10), 4);

    std::vector<std::vector<std::string>> bad;
    bad.push_back({});
    bad.push_back({good[0], good[1], good[2]});           // one missing
    bad.push_back({good[0], good[1], good[1], good[3]});  // one twice, one missing
    bad.push_back({good[0], good[1], other[2], good[3]}); // a part of another return
    auto flipped = good;
    flipped[2][kChunkHeaderSize + 10] ^= 0x40; // a damaged byte in the data
    bad.push_back(flipped);
    auto shortPart = good;
    shortPart[1].pop_back();
    bad.push_back(shortPart);
    auto notOurs = good;
    notOurs[0][0] = 'X';
    bad.push_back(notOurs);
    bad.push_back({"KV"}); // shorter than a header
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_THROW(joinChunks(bad[i]), ChunkError) << "case " << i;
}

TEST(BarcodeChunks, ADamagedLengthIsRefusedBeforeAnythingIsAllocated) {
    auto chunks = splitIntoChunks("<a/>", 1);
    for (int i = 11; i < 15; ++i)
        chunks[0][static_cast<std::size_t>(i)] = static_cast<char>(0xFF); // the XML's length: 4 GB
    EXPECT_THROW(joinChunks(chunks), ChunkError);
}

} // namespace
} // namespace kv::print
