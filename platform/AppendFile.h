#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace arn {

// A file open for appending bytes, on the system's own file handle: no buffering of its own,
// so what Write reports written has reached the system. One owner; not shared between threads.
class AppendFile {
  public:
    AppendFile() = default;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    ~AppendFile() { Close(); }

    // Opens path for appending (creating it, readable by others), or with truncate empties
    // it first. On failure returns false with the system's reason in error, and stays closed.
    bool Open(const std::string& path, bool truncate, std::string& error);
    void Close();
    bool IsOpen() const { return m_handle != kClosed; }

    // Appends at the end of the file; returns how many bytes reached it, fewer than size when
    // the system refused the rest (a full disk, say).
    size_t Write(const char* data, size_t size);
    // Cuts the last `bytes` bytes off the end of the file (nothing when it is shorter).
    void CutTail(size_t bytes);

  private:
    static constexpr intptr_t kClosed = -1;
    intptr_t m_handle = kClosed;  // a descriptor on Linux, a HANDLE on Windows
};

}  // namespace arn
