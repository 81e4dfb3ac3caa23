#include "ItemPass.h"

#include "core/Storage.h"

namespace kv::bench {

ItemPassResult passOverItems(const std::string& path) {
    DocumentFile loader(path, 0, true);
    const std::string& buf = loader.buffer();
    ItemPassResult r;
    std::string text;
    std::size_t at = DocumentStorage::kHeaderSize;
    while (at + 4 <= buf.size()) {
        std::size_t n = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char c = buf[at + k];
            if (c < '0' || c > '9')
                return r;
            n = n * 10 + static_cast<std::size_t>(c - '0');
        }
        if (at + 4 + n > buf.size())
            break;
        text.assign(buf, at + 4, n);
        r.checksum += n + (text.empty() ? 0 : static_cast<unsigned char>(text.back()));
        ++r.items;
        at += 4 + n;
    }
    return r;
}

} // namespace kv::bench
