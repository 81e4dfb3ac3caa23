#include "support/DocumentBytes.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace kv::test {

namespace {
// Room for any record a test writes; the result is cut to what was written.
constexpr std::int32_t kCapacity = 1 << 20;
} // namespace

std::string writeDocument(const std::function<void(DocumentStorage&)>& write, std::string_view identifier) {
    // The loader is never committed, so nothing is written at this path.
    const auto path = std::filesystem::temp_directory_path() / "kv-test-unwritten.qv9";
    DocumentFile loader(path.string(), kCapacity, false);
    std::int32_t end = 0;
    {
        DocumentStorage storage(&loader);
        storage.createStorage(identifier);
        write(storage);
        end = storage.position();
    }
    std::string bytes = loader.buffer();
    bytes.resize(static_cast<std::size_t>(end));
    return bytes;
}

std::string items(std::initializer_list<std::string_view> texts) {
    std::string out;
    for (std::string_view text : texts) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%04zu", text.size());
        out += prefix;
        out += text;
    }
    return out;
}

void setContainerVersion(std::string& document, int major, int minor) {
    if (document.size() < DocumentStorage::kHeaderSize)
        throw std::invalid_argument("not a document");
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d%02d", major, minor);
    document.replace(24, 4, digits, 4);
}

OpenedDocument::OpenedDocument(std::string bytes)
    : loader_(DocumentFile::fromBytes(std::move(bytes))),
      storage_(std::make_unique<DocumentStorage>(loader_.get())) {
    storage_->openStorage();
}

} // namespace kv::test
