#include "support/DebuggingFlags.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <unordered_map>

#include "platform/DebugChannel.h"
#include "platform/LocalClock.h"
#include "support/Format.h"
#include "support/LogFile.h"
#include "support/PerformanceTimerObj.h"
#include "support/TraceState.h"

namespace arn {

namespace detail {
constinit thread_local int32_t t_debugFlags = 0;
thread_local TraceState t_traceState;
}  // namespace detail

namespace {

// "YYYY-MM-DD HH:MM:SS" and the ": " after it.
constexpr size_t kDateLength = TraceState::DateLength;
constexpr size_t kLogHeadLength = kDateLength + 2;

// A log write time that makes the line go to the file at once.
constexpr double kNow = std::numeric_limits<double>::quiet_NaN();

int64_t g_rotationLines = LogRotationLines;

bool SameSecond(const LocalDateTime& a, const LocalDateTime& b) {
    return a.second == b.second && a.minute == b.minute && a.hour == b.hour && a.day == b.day &&
           a.month == b.month && a.year == b.year;
}

void PutDigits(char* out, int value, int width) {
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
}

// The date of now as "YYYY-MM-DD HH:MM:SS" (the year cut to four digits).
const char* DateText(TraceState& st) {
    const LocalDateTime now = LocalNow();
    if (!st.dated || !SameSecond(now, st.datedAt)) {
        char* d = st.date;
        PutDigits(d, now.year, 4);
        d[4] = '-';
        PutDigits(d + 5, now.month, 2);
        d[7] = '-';
        PutDigits(d + 8, now.day, 2);
        d[10] = ' ';
        PutDigits(d + 11, now.hour, 2);
        d[13] = ':';
        PutDigits(d + 14, now.minute, 2);
        d[16] = ':';
        PutDigits(d + 17, now.second, 2);
        st.datedAt = now;
        st.dated = true;
    }
    return st.date;
}

void EmitLine(TraceState& st, std::string_view head, bool blank, std::string_view tail);

// Lines the disk refused up to the closing of the log are told on the debug output.
void ReportLostLines(int64_t lost, const std::string& path) {
    if (lost > 0) {
        EmitLine(detail::t_traceState,
                 "DebuggingFlags: " + std::to_string(lost) + " log lines could not be written to " +
                     path,
                 false, {});
    }
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
bool RotateLog(TraceState& st) {
    namespace fs = std::filesystem;
    ReportLostLines(st.log.Close(), st.logPath);
    const std::string oldName = OldLogName(st.logPath);
    std::error_code ec;
    const fs::file_status old = fs::symlink_status(oldName, ec);
    if (fs::exists(old)) {
        // Windows refuses to remove a read-only file, so the old log is made writable first;
        // a link is removed itself, never its target.
        if (!fs::is_symlink(old)) {
            fs::permissions(oldName, fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove(oldName, ec);
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

// Makes room for the next line: false when no log is open or a due rotation failed.
bool LogReady(TraceState& st) {
    if (!st.log.IsOpen()) {
        return false;
    }
    return st.log.Line() <= g_rotationLines || RotateLog(st);
}

// Writes line, whose first kLogHeadLength characters are reserved for the date and ": " and
// whose last two are CR LF, as one log line ending in a line feed. nowMS is the line's stamp.
bool WriteReservedLogLine(TraceState& st, std::string& line, double nowMS) noexcept {
    try {
        if (!LogReady(st)) {
            return false;
        }
        std::memcpy(line.data(), DateText(st), kDateLength);
        line[kDateLength] = ':';
        line[kDateLength + 1] = ' ';
        line[line.size() - 2] = '\n';
        return st.log.WriteLine(std::string_view(line).substr(0, line.size() - 1), nowMS);
    } catch (...) {
        return false;
    }
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

// Sends head, an optional blank and tail as one time-stamped line to the debug output and the
// log. The caller has checked the level.
void EmitLine(TraceState& st, std::string_view head, bool blank, std::string_view tail) {
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

    std::string nested;
    std::string& line = st.sending == 0 ? st.line : nested;
    line.clear();
    // The log line is the same text behind the date: room for the date is kept in front.
    const bool logging = st.log.IsOpen();
    if (logging) {
        line.append(kLogHeadLength, ' ');
    }
    const size_t start = line.size();
    AppendGroupedTenths(line, t);
    line.append("\t+");
    AppendGroupedTenths(line, t - st.previousMS);
    line.push_back('\t');
    line.append(head);
    if (blank) {
        line.push_back(' ');
    }
    line.append(tail);
    line.append("\r\n");
    st.previousMS = t;

    ++st.sending;
    struct Done {
        int& sending;
        ~Done() { --sending; }
    } done{st.sending};
    OutputDebugStringA(std::string_view(line).substr(start));
    if (logging) {
        // Without a stopwatch there is no telling a burst from a pause: write at once.
        (void)WriteReservedLogLine(st, line, st.stopwatch ? t : kNow);
    }
}

}  // namespace

namespace detail {

void EmitTrace(std::string_view className, std::string_view msg, int32_t level, bool raiseError) {
    const bool blank = msg.empty() || msg.front() != '.';
    EmitLine(detail::t_traceState, className, blank, msg);
    // The raise flag is a Boolean widened with its sign: True is all bits set.
    const int32_t raiseMask = raiseError ? -1 : 0;
    if ((level & GetDebugFlags() & raiseMask) != 0) {
        std::string text(className);
        if (blank) {
            text.push_back(' ');
        }
        text.append(msg);
        throw ArnError(vbObjectError, std::string(className), text);
    }
}

const std::string& ClassNameOf(const std::type_info& type) {
    TraceState& st = detail::t_traceState;
    if (st.lastType == &type) {
        return *st.lastName;
    }
    auto it = st.classNames.find(&type);
    if (it == st.classNames.end()) {
        it = st.classNames.emplace(&type, ShortTypeName(type.name())).first;
    }
    st.lastType = &type;
    st.lastName = &it->second;
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
    EmitLine(detail::t_traceState, text, false, {});
}

bool WriteLogLine(std::string_view text, std::string_view prefix) noexcept {
    try {
        TraceState& st = detail::t_traceState;
        if (!LogReady(st)) {
            return false;
        }
        std::string line(DateText(st), kDateLength);
        if (!prefix.empty()) {
            line.push_back(' ');
            line.append(prefix);
        }
        line.append(": ");
        line.append(text);
        line.push_back('\n');
        return st.log.WriteLine(line, kNow);
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
    TraceState& st = detail::t_traceState;
    CloseLogFile();
    std::string error;
    if (!st.log.Open(path, /*truncate=*/false, error)) {
        throw ArnError(LogOpenError, "DebuggingFlags.OpenLogFile",
                       "Cannot open the log file " + path + ": " + error);
    }
    st.logPath = path;
}

bool FlushLogFile() {
    return detail::t_traceState.log.Flush();
}

void CloseLogFile() {
    TraceState& st = detail::t_traceState;
    const int64_t lost = st.log.Close();
    ReportLostLines(lost, st.logPath);
    st.logPath.clear();
}

bool LogFileOpen() {
    return detail::t_traceState.log.IsOpen();
}

std::string LogFilePath() {
    return detail::t_traceState.logPath;
}

int64_t SetLogRotationLines(int64_t lines) {
    const int64_t previous = g_rotationLines;
    g_rotationLines = lines;
    return previous;
}

}  // namespace arn
