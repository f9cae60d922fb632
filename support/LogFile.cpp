#include "support/LogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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
    m_written = false;
    return true;
}

int64_t LogFile::Close() {
    if (m_fd < 0) {
        return 0;
    }
    WriteQueued();
    const auto lost = static_cast<int64_t>(m_ends.size());
    m_queue.clear();
    m_ends.clear();
    ::close(m_fd);
    m_fd = -1;
    return lost;
}

bool LogFile::WriteLine(std::string_view text, double nowMS) {
    if (m_fd < 0) {
        return false;
    }
    if (!m_queue.empty() && m_queue.size() + text.size() > kBufferBytes && !WriteQueued() &&
        m_queue.size() + text.size() > kBufferBytes) {
        return false;  // the disk refused what is queued, and there is no room behind it
    }
    m_queue.append(text);
    m_ends.push_back(m_queue.size());
    const bool afterPause = !m_written || !(nowMS - m_lastWriteMS < kFlushAfterMS);
    if (afterPause || m_queue.size() >= kBufferBytes) {
        m_lastWriteMS = nowMS;
        m_written = true;
        if (!WriteQueued()) {
            // This line, last in the queue, did not reach the file whole: give it back.
            m_queue.resize(m_ends.size() > 1 ? m_ends[m_ends.size() - 2] : 0);
            m_ends.pop_back();
            return false;
        }
    }
    ++m_line;
    return true;
}

bool LogFile::Flush() {
    return m_fd >= 0 && WriteQueued();
}

bool LogFile::WriteQueued() {
    size_t written = 0;
    while (written < m_queue.size()) {
        const ssize_t n = ::write(m_fd, m_queue.data() + written, m_queue.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    if (written == m_queue.size()) {
        m_queue.clear();
        m_ends.clear();
        return true;
    }
    // Lines that reached the file whole leave the queue; a fragment of the next one is cut off
    // again (the file is appended to, so the fragment is its tail) and the line stays queued.
    const auto done = std::upper_bound(m_ends.begin(), m_ends.end(), written);
    const size_t whole = done == m_ends.begin() ? 0 : *(done - 1);
    if (written > whole) {
        const off_t end = ::lseek(m_fd, 0, SEEK_END);
        const auto fragment = static_cast<off_t>(written - whole);
        if (end >= fragment) {
            (void)!::ftruncate(m_fd, end - fragment);
        }
    }
    m_queue.erase(0, whole);
    m_ends.erase(m_ends.begin(), done);
    for (size_t& e : m_ends) {
        e -= whole;
    }
    return false;
}

}  // namespace arn
