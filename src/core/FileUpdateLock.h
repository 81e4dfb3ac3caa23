#pragma once
// A lock for a read–merge–write of a file another program may update at the same time.
#include <functional>
#include <string>

namespace kv {

// Holds the file at path for a read–merge–write, such as an import that adds to a
// directory file: the lock a read or a save of the file takes, on the file a save through
// path replaces (its folder's while there is no file yet). A holder that renamed a new
// file over the old one while this waited is followed to the new file. Waits for another
// holder as long as that takes, calling waiting first each time it must wait. Throws
// BadStorageError for a path that is not a regular file or a folder that cannot be opened.
class FileUpdateLock {
public:
    explicit FileUpdateLock(const std::string& path, const std::function<void()>& waiting = {});
    ~FileUpdateLock();
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace kv
