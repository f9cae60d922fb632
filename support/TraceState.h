#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <typeinfo>
#include <unordered_map>

#include "platform/LocalClock.h"
#include "support/LogFile.h"
#include "support/PerformanceTimerObj.h"

namespace arn {

// What the trace keeps per thread between lines: the stopwatch behind the time stamps, the
// log file, and the buffers that let an emitted line allocate nothing. Internal to the trace;
// declared here so that all of it is one object that can be set back as a whole.
struct TraceState {
    // Length of the date text "YYYY-MM-DD HH:MM:SS".
    static constexpr size_t DateLength = 19;

    std::unique_ptr<PerformanceTimerObj> stopwatch;
    double previousMS = 0.0;
    std::string logPath;
    LogFile log;

    // The line being built, reused so that an emitted line allocates nothing. A line traced
    // while another is being sent (by a debug listener) builds in a buffer of its own.
    std::string line;
    int sending = 0;

    // The date text of the last line; the clock moves on once a second.
    LocalDateTime datedAt{};
    char date[DateLength] = {};
    bool dated = false;

    std::unordered_map<const std::type_info*, std::string> classNames;
    const std::type_info* lastType = nullptr;
    const std::string* lastName = nullptr;
};

namespace detail {
// The calling thread's trace state.
extern thread_local TraceState t_traceState;
}  // namespace detail

}  // namespace arn
