#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace arn::test {

// Reads what this process sends to the system's debug output while the monitor lives, through
// the shared buffer and the two events that debug viewers use, so that a test sees the trace
// lines of a component in another module. One reader thread takes each text as the sender
// hands it over.
class DebugOutputMonitor {
  public:
    DebugOutputMonitor() {
        m_buffer = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, BufferSize,
                                      L"DBWIN_BUFFER");
        m_bufferReady = CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY");
        m_dataReady = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
        m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_view = static_cast<const char*>(MapViewOfFile(m_buffer, FILE_MAP_READ, 0, 0, 0));
        if (m_view != nullptr && m_bufferReady != nullptr && m_dataReady != nullptr) {
            m_reader = std::thread([this] { Read(); });
        }
    }
    ~DebugOutputMonitor() {
        SetEvent(m_stop);
        if (m_reader.joinable()) {
            m_reader.join();
        }
        if (m_view != nullptr) {
            UnmapViewOfFile(m_view);
        }
        for (HANDLE handle : {m_stop, m_dataReady, m_bufferReady, m_buffer}) {
            if (handle != nullptr) {
                CloseHandle(handle);
            }
        }
    }
    DebugOutputMonitor(const DebugOutputMonitor&) = delete;
    DebugOutputMonitor& operator=(const DebugOutputMonitor&) = delete;

    // Whether some text this process sent so far contains part. A marker text goes out first:
    // the sender waits until the reader has taken every earlier text, so none is still on its
    // way.
    bool Saw(const std::string& part) {
        OutputDebugStringA(Marker);
        const std::lock_guard<std::mutex> guard(m_lock);
        for (const std::string& text : m_texts) {
            if (text.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

  private:
    static constexpr DWORD BufferSize = 4096;
    static constexpr const char* Marker = "-- debug output monitor --";

    void Read() {
        const HANDLE waits[] = {m_stop, m_dataReady};
        while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            DWORD sender = 0;
            memcpy(&sender, m_view, sizeof(sender));
            const std::string text(m_view + sizeof(sender),
                                   strnlen(m_view + sizeof(sender), BufferSize - sizeof(sender)));
            if (sender == GetCurrentProcessId() && text != Marker) {
                const std::lock_guard<std::mutex> guard(m_lock);
                m_texts.push_back(text);
            }
            SetEvent(m_bufferReady);
        }
    }

    HANDLE m_buffer = nullptr;
    HANDLE m_bufferReady = nullptr;
    HANDLE m_dataReady = nullptr;
    HANDLE m_stop = nullptr;
    const char* m_view = nullptr;
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    std::thread m_reader;
};

}  // namespace arn::test
