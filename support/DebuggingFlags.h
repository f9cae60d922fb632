#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>

#include "core/ArnError.h"

// The debug trace: time-stamped lines to the debug output and, once opened, to a log file.
// Every line is filtered by the debug flag word. The state (flag word, stopwatch, log) is kept
// per thread; the library is used from the host's UI thread.
namespace arn {

inline constexpr int32_t TraceLevelAlways = -1;
inline constexpr int32_t TraceLevelVerbose = 0x40000;

// Errors of OpenLogFile.
inline constexpr int32_t LogPathError = vbObjectError + 1;
inline constexpr int32_t LogOpenError = vbObjectError + 2;

// A log reaching this many lines written is rotated before the next line.
inline constexpr int64_t LogRotationLines = 500000;

namespace detail {

// The flag word as stored; tested inline so that a filtered-out line costs a load and a test.
extern constinit thread_local int32_t t_debugFlags __attribute__((tls_model("initial-exec")));

void EmitTrace(std::string_view className, std::string_view msg, int32_t level, bool raiseError);

// The run-time type name without namespaces ("arn::ArnAbsPosnCtl" -> "ArnAbsPosnCtl"),
// worked out once per type.
const std::string& ClassNameOf(const std::type_info& type);

template <class T>
inline constexpr bool IsText = std::is_convertible_v<const T&, std::string_view>;

}  // namespace detail

// Stores the host's flag word; a later call overwrites it.
void SetDebugFlags(int32_t flags);

// The stored flag word with bit 0 always set, so level -1 lines are always emitted.
inline int32_t GetDebugFlags() {
    return detail::t_debugFlags | 1;
}

// Whether a line of this level would be emitted: lets a caller skip building a costly text.
inline bool TraceLevelOn(int32_t level) {
    return (level & GetDebugFlags()) != 0;
}

// Emits className, a blank unless msg starts with ".", and msg, when level AND the flag word is
// non-zero. With raiseError, an emitted line is then also thrown as ArnError(vbObjectError,
// className, the text).
inline void DebugTrace(std::string_view className, std::string_view msg, int32_t level,
                       bool raiseError) {
    if ((level & GetDebugFlags()) == 0) {
        return;
    }
    detail::EmitTrace(className, msg, level, raiseError);
}

// The same, named by the run-time type of obj (a reference or a pointer to it).
template <class T>
requires(!detail::IsText<T> &&
         !std::is_pointer_v<T>) inline void DebugTrace(const T& obj, std::string_view msg,
                                                       int32_t level, bool raiseError) {
    if ((level & GetDebugFlags()) == 0) {
        return;
    }
    detail::EmitTrace(detail::ClassNameOf(typeid(obj)), msg, level, raiseError);
}
template <class T>
requires(!detail::IsText<T*>) inline void DebugTrace(T* obj, std::string_view msg, int32_t level,
                                                     bool raiseError) {
    if ((level & GetDebugFlags()) == 0) {
        return;
    }
    detail::EmitTrace(detail::ClassNameOf(typeid(*obj)), msg, level, raiseError);
}

// Emits one finished text: the stopwatch's milliseconds and the time since the previous line,
// both "#,##0.0", then the text; to the debug output with CR LF, then to the log.
void DebugOutput(std::string_view text, int32_t level);

// Appends "YYYY-MM-DD HH:MM:SS: text" (with a prefix: "YYYY-MM-DD HH:MM:SS prefix: text") to
// the open log, rotating it first when it is full, and writes it out at once together with
// any gathered trace lines. Never throws: returns false when no log is open or the line could
// not be written whole (a partly written line is cut off again).
bool WriteLogLine(std::string_view text, std::string_view prefix) noexcept;

// Opens (creating, or appending to) the log file at path and makes it the log of this thread,
// closing any previous one. Lines are counted from here for rotation, which keeps the previous
// lines in the file named by replacing every ".log" in the path by ".old". Throws ArnError
// LogPathError for a path without ".log" and LogOpenError when the file cannot be opened.
//
// Trace lines in quick succession are gathered and written together (see LogFile); a line
// after a pause of 100 ms goes to the file at once. FlushLogFile writes what is gathered (a
// host may call it when idle) and is false when the disk refuses some of it, which then stays
// queued. Closing writes the rest; lines the disk still refuses are told on the debug output.
void OpenLogFile(const std::string& path);
bool FlushLogFile();
void CloseLogFile();
bool LogFileOpen();
std::string LogFilePath();

// Sets the number of lines after which the log rotates and returns the previous value; for
// hosts that keep long logs and for tests of the rotation.
int64_t SetLogRotationLines(int64_t lines);

}  // namespace arn
