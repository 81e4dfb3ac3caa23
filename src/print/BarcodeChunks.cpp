#include "print/BarcodeChunks.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kv::print {

namespace {

constexpr unsigned char kFormat = 1;

void putNumber(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getNumber(std::string_view in, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint32_t crcOf(std::string_view text) {
    return static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

std::string compress(std::string_view xml) {
    if (xml.size() > std::numeric_limits<std::uint32_t>::max() / 2)
        throw ChunkError("the text is too long to print");
    uLongf size = compressBound(static_cast<uLong>(xml.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(xml.data()),
                  static_cast<uLong>(xml.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw ChunkError("the text could not be compressed");
    out.resize(size);
    return out;
}

struct Header {
    std::uint32_t part, parts, packedLength, xmlLength, crc;
};

Header readHeader(std::string_view chunk) {
    if (chunk.size() < kChunkHeaderSize || chunk[0] != 'K' || chunk[1] != 'V')
        throw ChunkError("a barcode does not hold a part of a return");
    if (static_cast<unsigned char>(chunk[2]) != kFormat)
        throw ChunkError("a barcode is of an unknown format");
    return Header{getNumber(chunk, 3, 2), getNumber(chunk, 5, 2), getNumber(chunk, 7, 4),
                  getNumber(chunk, 11, 4), getNumber(chunk, 15, 4)};
}

} // namespace

std::size_t chunksNeeded(std::string_view xml, std::size_t maxPayload) {
    const std::size_t packed = compress(xml).size();
    return std::max<std::size_t>(1, (packed + maxPayload - 1) / maxPayload);
}

std::vector<std::string> splitIntoChunks(std::string_view xml, std::size_t minChunks,
                                         std::size_t maxPayload) {
    const std::string packed = compress(xml);
    const std::size_t count =
        std::max({minChunks, std::size_t{1}, (packed.size() + maxPayload - 1) / maxPayload});
    if (count > 0xFFFF)
        throw ChunkError("the text needs more barcodes than a return can print");
    const std::size_t share = (packed.size() + count - 1) / count;
    const std::uint32_t crc = crcOf(xml);
    std::vector<std::string> chunks;
    chunks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string chunk = "KV";
        chunk += static_cast<char>(kFormat);
        putNumber(chunk, static_cast<std::uint32_t>(i + 1), 2);
        putNumber(chunk, static_cast<std::uint32_t>(count), 2);
        putNumber(chunk, static_cast<std::uint32_t>(packed.size()), 4);
        putNumber(chunk, static_cast<std::uint32_t>(xml.size()), 4);
        putNumber(chunk, crc, 4);
        const std::size_t from = std::min(packed.size(), i * share);
        chunk.append(packed, from, std::min(share, packed.size() - from));
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

std::string joinChunks(const std::vector<std::string>& chunks) {
    if (chunks.empty())
        throw ChunkError("no barcodes");
    std::vector<const std::string*> byPart(chunks.size(), nullptr);
    const Header first = readHeader(chunks.front());
    if (first.parts != chunks.size())
        throw ChunkError("the return has " + std::to_string(first.parts) + " barcodes, " +
                         std::to_string(chunks.size()) + " were read");
    for (const std::string& chunk : chunks) {
        const Header h = readHeader(chunk);
        if (h.parts != first.parts || h.packedLength != first.packedLength ||
            h.xmlLength != first.xmlLength || h.crc != first.crc)
            throw ChunkError("the barcodes belong to different returns");
        if (h.part < 1 || h.part > h.parts)
            throw ChunkError("a barcode has a wrong part number");
        if (byPart[h.part - 1] != nullptr)
            throw ChunkError("barcode " + std::to_string(h.part) + " was read twice");
        byPart[h.part - 1] = &chunk;
    }
    std::string packed;
    for (const std::string* chunk : byPart)
        packed.append(*chunk, kChunkHeaderSize);
    if (packed.size() != first.packedLength)
        throw ChunkError("the barcodes do not hold the whole return");
    // Deflate cannot expand more than about 1032 times; a larger length is damage,
    // not a reason to allocate it.
    if (first.xmlLength > static_cast<std::uint64_t>(first.packedLength) * 1032 + 64)
        throw ChunkError("the barcodes' data is damaged");
    std::string xml(first.xmlLength, '\0');
    uLongf size = first.xmlLength;
    if (uncompress(reinterpret_cast<Bytef*>(xml.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK ||
        size != first.xmlLength)
        throw ChunkError("the barcodes' data is damaged");
    if (crcOf(xml) != first.crc)
        throw ChunkError("the joined text fails its check sum");
    return xml;
}

} // namespace kv::print
