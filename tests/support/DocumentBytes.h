#pragma once
// Documents in memory for record tests: write a body through a storage, keep the
// bytes, patch the header as older writers left it, and read the bytes back.
#include "core/Storage.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace kv::test {

// The whole document (header and body) that `write` produces, cut to what was
// written. The identifier goes into the header as a writer of that year put it.
std::string writeDocument(const std::function<void(DocumentStorage&)>& write,
                          std::string_view identifier = "Quil2019");

// Items as the container lays them out: four-digit length, then the text.
std::string items(std::initializer_list<std::string_view> texts);

// The container version in the header, as older writers left it ("01" "00").
void setContainerVersion(std::string& document, int major, int minor);

// A storage opened for reading over the given document bytes.
class OpenedDocument {
public:
    explicit OpenedDocument(std::string bytes);
    DocumentStorage& storage() { return *storage_; }

private:
    std::unique_ptr<DocumentFile> loader_;
    std::unique_ptr<DocumentStorage> storage_;
};

} // namespace kv::test
