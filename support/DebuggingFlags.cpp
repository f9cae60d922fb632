#include "support/DebuggingFlags.h"

#include <cxxabi.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/DebugChannel.h"
#include "platform/LocalClock.h"
#include "support/Format.h"
#include "support/LogFile.h"
#include "support/PerformanceTimerObj.h"

namespace arn {

namespace detail {
constinit thread_local int32_t t_debugFlags = 0;
}  // namespace detail

namespace {

struct TraceState {
    std::unique_ptr<PerformanceTimerObj> stopwatch;
    double previousMS = 0.0;
    std::string logPath;
    LogFile log;
    // Text buffers reused line after line so that an emitted line allocates nothing. A listener
    // or a failure path that traces while a line is being built takes a fresh one.
    std::vector<std::unique_ptr<std::string>> freeBuffers;
    std::unordered_map<const std::type_info*, std::string> classNames;
};

thread_local TraceState t_state;

int64_t g_rotationLines = LogRotationLines;

class ScratchBuffer {
  public:
    ScratchBuffer() {
        auto& pool = t_state.freeBuffers;
        if (pool.empty()) {
            m_buffer = std::make_unique<std::string>();
            m_buffer->reserve(256);
        } else {
            m_buffer = std::move(pool.back());
            pool.pop_back();
            m_buffer->clear();
        }
    }
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;
    ~ScratchBuffer() { t_state.freeBuffers.push_back(std::move(m_buffer)); }
    std::string& operator*() { return *m_buffer; }
    std::string* operator->() { return m_buffer.get(); }

  private:
    std::unique_ptr<std::string> m_buffer;
};

void AppendPadded(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0 && n < 11);
    for (int i = n; i < width; ++i) {
        out.push_back('0');
    }
    while (n > 0) {
        out.push_back(digits[--n]);
    }
}

// "YYYY-MM-DD HH:MM:SS"
void AppendDateTime(std::string& out, const LocalDateTime& now) {
    AppendPadded(out, now.year, 4);
    out.push_back('-');
    AppendPadded(out, now.month, 2);
    out.push_back('-');
    AppendPadded(out, now.day, 2);
    out.push_back(' ');
    AppendPadded(out, now.hour, 2);
    out.push_back(':');
    AppendPadded(out, now.minute, 2);
    out.push_back(':');
    AppendPadded(out, now.second, 2);
}

std::string OldLogName(std::string path) {
    static constexpr std::string_view kLog = ".log";
    static constexpr std::string_view kOld = ".old";
    size_t pos = 0;
    while ((pos = path.find(kLog, pos)) != std::string::npos) {
        path.replace(pos, kLog.size(), kOld);
        pos += kOld.size();
    }
    return path;
}

// Moves the full log's lines to the old name and starts the log afresh. On any failure the log
// stays closed (later lines report false) and the lines written so far stay in the log file.
bool RotateLog() {
    namespace fs = std::filesystem;
    TraceState& st = t_state;
    st.log.Close();
    const std::string oldName = OldLogName(st.logPath);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(oldName, ec))) {
        fs::remove(oldName, ec);  // a read-only file goes as well
        if (ec) {
            return false;
        }
    }
    if (!fs::copy_file(st.logPath, oldName, fs::copy_options::overwrite_existing, ec) || ec) {
        return false;
    }
    std::string error;
    return st.log.Open(st.logPath, /*truncate=*/true, error);
}

std::string ShortTypeName(const char* mangled) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    const std::string_view full = status == 0 && demangled ? demangled.get() : mangled;
    // Drop the namespaces before the last "::" outside template arguments.
    size_t start = 0;
    int depth = 0;
    for (size_t i = 0; i < full.size(); ++i) {
        const char c = full[i];
        if (c == '<' || c == '(') {
            ++depth;
        } else if (c == '>' || c == ')') {
            --depth;
        } else if (depth == 0 && c == ':' && i + 1 < full.size() && full[i + 1] == ':') {
            start = i + 2;
            ++i;
        }
    }
    return std::string(full.substr(start));
}

void OutputLine(std::string_view text) {
    TraceState& st = t_state;
    if (!st.stopwatch) {
        // Without a high-resolution counter the lines still go out, stamped 0.0; creating
        // the stopwatch is tried again on the next line.
        try {
            st.stopwatch = std::make_unique<PerformanceTimerObj>();
            st.stopwatch->StartTimer(false);
        } catch (const std::exception&) {
            st.stopwatch.reset();
        }
    }
    const double t = st.stopwatch ? st.stopwatch->get_ElapsedTimeMS() : 0.0;

    ScratchBuffer line;
    AppendGroupedTenths(*line, t);
    line->append("\t+");
    AppendGroupedTenths(*line, t - st.previousMS);
    line->push_back('\t');
    line->append(text);
    st.previousMS = t;
    const size_t length = line->size();
    line->append("\r\n");
    OutputDebugStringA(*line);
    (void)WriteLogLine(std::string_view(*line).substr(0, length), {});
}

}  // namespace

namespace detail {

void EmitTrace(std::string_view className, std::string_view msg, int32_t level, bool raiseError) {
    ScratchBuffer text;
    text->append(className);
    if (msg.empty() || msg.front() != '.') {
        text->push_back(' ');
    }
    text->append(msg);
    DebugOutput(*text, level);
    // The raise flag is a Boolean widened with its sign: True is all bits set.
    const int32_t raiseMask = raiseError ? -1 : 0;
    if ((level & GetDebugFlags() & raiseMask) != 0) {
        throw ArnError(vbObjectError, std::string(className), *text);
    }
}

const std::string& ClassNameOf(const std::type_info& type) {
    auto& names = t_state.classNames;
    auto it = names.find(&type);
    if (it == names.end()) {
        it = names.emplace(&type, ShortTypeName(type.name())).first;
    }
    return it->second;
}

}  // namespace detail

void SetDebugFlags(int32_t flags) {
    detail::t_debugFlags = flags;
}

void DebugOutput(std::string_view text, int32_t level) {
    if ((level & GetDebugFlags()) == 0) {
        return;
    }
    OutputLine(text);
}

bool WriteLogLine(std::string_view text, std::string_view prefix) noexcept {
    try {
        TraceState& st = t_state;
        if (!st.log.IsOpen()) {
            return false;
        }
        if (st.log.Line() > g_rotationLines && !RotateLog()) {
            return false;
        }
        ScratchBuffer line;
        AppendDateTime(*line, LocalNow());
        if (!prefix.empty()) {
            line->push_back(' ');
            line->append(prefix);
        }
        line->append(": ");
        line->append(text);
        line->push_back('\n');
        return st.log.WriteLine(*line);
    } catch (...) {
        return false;
    }
}

void OpenLogFile(const std::string& path) {
    if (path.find(".log") == std::string::npos) {
        throw ArnError(LogPathError, "DebuggingFlags.OpenLogFile",
                       "The log file name must contain \".log\" (the rotated file replaces it by "
                       "\".old\"): " +
                           path);
    }
    TraceState& st = t_state;
    st.log.Close();
    st.logPath.clear();
    std::string error;
    if (!st.log.Open(path, /*truncate=*/false, error)) {
        throw ArnError(LogOpenError, "DebuggingFlags.OpenLogFile",
                       "Cannot open the log file " + path + ": " + error);
    }
    st.logPath = path;
}

void CloseLogFile() {
    t_state.log.Close();
    t_state.logPath.clear();
}

bool LogFileOpen() {
    return t_state.log.IsOpen();
}

std::string LogFilePath() {
    return t_state.logPath;
}

int64_t SetLogRotationLines(int64_t lines) {
    const int64_t previous = g_rotationLines;
    g_rotationLines = lines;
    return previous;
}

void ResetTraceState() {
    detail::t_debugFlags = 0;
    t_state.stopwatch.reset();
    t_state.previousMS = 0.0;
    CloseLogFile();
}

}  // namespace arn
