#pragma once
// The exported XML is carried on paper in the PDF417 barcodes of the printed
// pages: compressed with zlib, cut into chunks, one chunk a page. Each chunk opens
// with a small header so that a reader can check it has every part, in order, of
// the same return, and that the joined text is exactly what was printed.
//
// Header (19 bytes, numbers big-endian):
//   "KV", format 1, part number (2 bytes, from 1), number of parts (2 bytes),
//   length of the compressed text (4), length of the XML (4), CRC-32 of the XML (4).
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kv::print {

// A set of chunks that does not give back a whole return. The message is UTF-8.
class ChunkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr std::size_t kChunkHeaderSize = 19;
// The most compressed bytes one page carries; with the header this keeps the
// symbol within its place on the printed page (12 columns, 36 rows) for almost
// any bytes. The layout takes smaller parts for the rare data that does not fit.
constexpr std::size_t kChunkPayload = 380;

// Splits the XML into at least minChunks chunks (more when the compressed text
// needs them), sharing the compressed bytes out evenly.
std::vector<std::string> splitIntoChunks(std::string_view xml, std::size_t minChunks,
                                         std::size_t maxPayload = kChunkPayload);

// How many chunks the XML needs at least.
std::size_t chunksNeeded(std::string_view xml, std::size_t maxPayload = kChunkPayload);

// Joins chunks read from the pages back into the XML. Accepts them in any order;
// throws ChunkError when one is damaged, missing, repeated or of another return.
std::string joinChunks(const std::vector<std::string>& chunks);

} // namespace kv::print
