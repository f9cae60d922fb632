#include "platform/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace arn {

bool AppendFile::Open(const std::string& path, bool truncate, std::string& error) {
    Close();
    int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC;
    if (truncate) {
        flags |= O_TRUNC;
    }
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    m_handle = fd;
    return true;
}

void AppendFile::Close() {
    if (m_handle != kClosed) {
        ::close(static_cast<int>(m_handle));
        m_handle = kClosed;
    }
}

size_t AppendFile::Write(const char* data, size_t size) {
    size_t written = 0;
    while (m_handle != kClosed && written < size) {
        const ssize_t n = ::write(static_cast<int>(m_handle), data + written, size - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
        } else if (!(n < 0 && errno == EINTR)) {
            break;
        }
    }
    return written;
}

void AppendFile::CutTail(size_t bytes) {
    if (m_handle == kClosed) {
        return;
    }
    const int fd = static_cast<int>(m_handle);
    const off_t end = ::lseek(fd, 0, SEEK_END);
    const auto cut = static_cast<off_t>(bytes);
    if (end >= cut) {
        (void)!::ftruncate(fd, end - cut);
    }
}

}  // namespace arn
