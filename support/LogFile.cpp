#include "support/LogFile.h"

#include <algorithm>

namespace arn {

bool LogFile::Open(const std::string& path, bool truncate, std::string& error) {
    Close();
    if (!m_file.Open(path, truncate, error)) {
        return false;
    }
    m_line = 1;
    m_written = false;
    return true;
}

int64_t LogFile::Close() {
    if (!m_file.IsOpen()) {
        return 0;
    }
    WriteQueued();
    const auto lost = static_cast<int64_t>(m_ends.size());
    m_queue.clear();
    m_ends.clear();
    m_file.Close();
    return lost;
}

bool LogFile::WriteLine(std::string_view text, double nowMS) {
    if (!m_file.IsOpen()) {
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
    return m_file.IsOpen() && WriteQueued();
}

bool LogFile::WriteQueued() {
    const size_t written = m_file.Write(m_queue.data(), m_queue.size());
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
        m_file.CutTail(written - whole);
    }
    m_queue.erase(0, whole);
    m_ends.erase(m_ends.begin(), done);
    for (size_t& e : m_ends) {
        e -= whole;
    }
    return false;
}

}  // namespace arn
