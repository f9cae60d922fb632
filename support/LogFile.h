#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AppendFile.h"

namespace arn {

// A text file open for appending whole lines, counting them like a text stream: the current
// line number starts at 1 and grows by one with each line taken.
//
// Lines that follow each other closely are gathered and written together, so that a burst of
// lines costs one system call per few dozen lines; a line after a pause is written at once.
// The file only ever receives whole lines: a write cut short (a full disk) is cut back to the
// last whole line, and the lines not yet written stay queued for the next write.
class LogFile {
  public:
    // Lines gathered at most before they are written.
    static constexpr size_t kBufferBytes = 4096;
    // A line coming this long after the last write is written at once.
    static constexpr double kFlushAfterMS = 100.0;

    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
    ~LogFile() { Close(); }

    // Opens path for appending (creating it), or with truncate empties it first. On failure
    // returns false with the system's reason in error, and the file stays closed.
    bool Open(const std::string& path, bool truncate, std::string& error);
    // Writes what is queued and closes; returns the number of lines that could not be written.
    int64_t Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    int64_t Line() const { return m_line; }

    // Takes one line (text carries its own line end). nowMS is a steady clock in milliseconds
    // that decides whether the line follows a pause; NaN writes at once. Returns false when the
    // line was not taken: no room behind lines the disk refused, or its own write failed.
    bool WriteLine(std::string_view text, double nowMS);
    // Writes every queued line; false when some remain queued.
    bool Flush();

  private:
    // Writes the queue from the front, keeping in it whatever did not reach the file whole.
    bool WriteQueued();

    AppendFile m_file;
    int64_t m_line = 1;
    std::string m_queue;
    std::vector<size_t> m_ends;  // end offset of each queued line in m_queue
    double m_lastWriteMS = 0.0;
    bool m_written = false;  // m_lastWriteMS is set
};

}  // namespace arn
