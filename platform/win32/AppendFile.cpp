#include "platform/AppendFile.h"

#include <windows.h>

namespace arn {

namespace {

HANDLE AsHandle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::string LastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = n != 0 && text != nullptr ? std::string(text, n) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(code) : message;
}

}  // namespace

bool AppendFile::Open(const std::string& path, bool truncate, std::string& error) {
    Close();
    // Shared for deleting and renaming too, so that another program may rotate or remove the
    // file while it is open here, as it may on Linux.
    HANDLE file = CreateFileA(
        path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, truncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = LastErrorText();
        return false;
    }
    m_handle = reinterpret_cast<intptr_t>(file);
    return true;
}

void AppendFile::Close() {
    if (m_handle != kClosed) {
        CloseHandle(AsHandle(m_handle));
        m_handle = kClosed;
    }
}

size_t AppendFile::Write(const char* data, size_t size) {
    if (m_handle == kClosed) {
        return 0;
    }
    size_t written = 0;
    LARGE_INTEGER zero{};
    // Another writer may have moved the end since the last write.
    if (SetFilePointerEx(AsHandle(m_handle), zero, nullptr, FILE_END) == 0) {
        return 0;
    }
    while (written < size) {
        const size_t left = size - written;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD n = 0;
        if (WriteFile(AsHandle(m_handle), data + written, chunk, &n, nullptr) == 0 || n == 0) {
            break;
        }
        written += n;
    }
    return written;
}

void AppendFile::CutTail(size_t bytes) {
    if (m_handle == kClosed) {
        return;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(AsHandle(m_handle), &size) == 0 ||
        size.QuadPart < static_cast<LONGLONG>(bytes)) {
        return;
    }
    LARGE_INTEGER end{};
    end.QuadPart = size.QuadPart - static_cast<LONGLONG>(bytes);
    if (SetFilePointerEx(AsHandle(m_handle), end, nullptr, FILE_BEGIN) != 0) {
        SetEndOfFile(AsHandle(m_handle));
    }
}

}  // namespace arn
