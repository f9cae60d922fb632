#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace arn {

// A text file open for appending whole lines, counting them like a text stream: the current
// line number starts at 1 and grows by one with each line written.
class LogFile {
  public:
    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
    ~LogFile() { Close(); }

    // Opens path for appending (creating it), or with truncate empties it first. On failure
    // returns false with the system's reason in error, and the file stays closed.
    bool Open(const std::string& path, bool truncate, std::string& error);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int64_t Line() const { return m_line; }

    // Writes text (which carries its own line end) in full, or returns false having cut off
    // whatever part of it reached the file.
    bool WriteLine(std::string_view text);

  private:
    int m_fd = -1;
    int64_t m_line = 1;
};

}  // namespace arn
