#include "reference/FileReplace.h"

#include "core/Storage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

// The system's reasons (strerror) and the path, as the messages always carried them.
Cp1251Text systemText(const std::string& text) {
    return Cp1251Text::fromBytes(text);
}

void writeWhole(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileReplaceError(systemText(std::string("write: ") + std::strerror(errno)));
        }
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

void replaceFileWhole(const std::string& requested, const std::string& bytes) {
    // A link keeps naming the file it names, now renewed; a FIFO or a device given for
    // the directory is refused rather than replaced by a file.
    const std::string path = linkTarget(requested);
    try {
        requireRegularFileOrNew(path);
    } catch (const StorageError& e) {
        throw FileReplaceError(e.message());
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw FileReplaceError(systemText("Error write file:" + path + ": " + std::strerror(errno)));
    bool closed = false;
    try {
        writeWhole(fd, bytes);
        if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0)
            throw FileReplaceError(systemText(std::string("sync: ") + std::strerror(errno)));
        closed = true;
        if (::close(fd) != 0)
            throw FileReplaceError(systemText(std::string("close: ") + std::strerror(errno)));
    } catch (const FileReplaceError& e) {
        if (!closed)
            ::close(fd);
        ::unlink(temp.c_str());
        throw FileReplaceError(systemText("Error write file:" + path + ": " + e.what()));
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(temp.c_str());
        throw FileReplaceError(systemText("Error write file:" + path + ": " + why));
    }
}

} // namespace kv
