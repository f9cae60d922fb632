#include "support/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace arn {

bool LogFile::Open(const std::string& path, bool truncate, std::string& error) {
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
    m_fd = fd;
    m_line = 1;
    return true;
}

void LogFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool LogFile::WriteLine(std::string_view text) {
    if (m_fd < 0) {
        return false;
    }
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(m_fd, text.data() + written, text.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    if (written == text.size()) {
        ++m_line;
        return true;
    }
    if (written > 0) {
        // A disk that filled up mid-line leaves a fragment; cut it off so the file holds whole
        // lines only. The file is appended to, so the fragment is its tail.
        const off_t end = ::lseek(m_fd, 0, SEEK_END);
        if (end >= static_cast<off_t>(written)) {
            (void)!::ftruncate(m_fd, end - static_cast<off_t>(written));
        }
    }
    return false;
}

}  // namespace arn
