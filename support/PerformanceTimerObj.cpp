#include "support/PerformanceTimerObj.h"

#include <cmath>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "platform/PerformanceCounter.h"
#include "support/Format.h"

namespace arn {

namespace {

// Returns false when the counter cannot be read; count is then left as it was.
bool Now(double& count) {
    int64_t raw = 0;
    if (!QueryPerformanceCounter(raw)) {
        return false;
    }
    count = static_cast<double>(raw);
    return true;
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
    size_t pos = 0;
    while ((pos = text.find(what, pos)) != std::string::npos) {
        text.replace(pos, what.size(), with);
        pos += with.size();
    }
}

// A whole number of minutes or seconds as "00"; a time that is not finite reads as zero.
std::string TwoDigits(double whole) {
    return FormatTwoDigits(std::isfinite(whole) ? static_cast<int64_t>(whole) : 0);
}

}  // namespace

PerformanceTimerObj::PerformanceTimerObj() {
    int64_t frequency = 0;
    if (!QueryPerformanceFrequency(frequency) || frequency <= 0) {
        throw ArnError(NoHighResTimerError, "", "This system doesn't support high-res timing");
    }
    m_frequency = frequency;
    m_secPerCount = 1.0 / static_cast<double>(m_frequency);
    StartTimer(false);
}

void PerformanceTimerObj::StartTimer(bool ResetTotalTime) {
    Now(m_startCount);
    if (ResetTotalTime) {
        m_totalCount = 0;
    }
    m_running = true;
}

double PerformanceTimerObj::StopTimer() {
    if (m_running) {
        double now = m_startCount;
        Now(now);
        m_totalCount += now - m_startCount;
        m_elapsedAtStop = (now - m_startCount) * m_secPerCount;
        m_running = false;
    }
    return get_ElapsedTime();
}

double PerformanceTimerObj::get_ElapsedTime() const {
    if (!m_running) {
        return m_elapsedAtStop;
    }
    // An unreadable counter yields 0 rather than an error: callers poll this freely.
    double now = 0;
    if (!Now(now)) {
        return 0;
    }
    return (now - m_startCount) * m_secPerCount;
}

double PerformanceTimerObj::get_ElapsedTimeMS() const {
    return get_ElapsedTime() * 1000;
}

double PerformanceTimerObj::get_TotalTime() const {
    double total = m_totalCount * m_secPerCount;
    if (m_running) {
        total += get_ElapsedTime();
    }
    return total;
}

std::string PerformanceTimerObj::get_FormatTime(const std::string& msg, double& seconds,
                                                int16_t decDigits) const {
    if (decDigits < 0) {
        throw MakeError(err::InvalidProcedureCall, "PerformanceTimerObj.FormatTime");
    }
    if (seconds < 0) {
        seconds = get_ElapsedTime();
    }
    std::string text = msg;
    ReplaceAll(text, "###", CStr(RoundHalfEven(seconds, decDigits)));
    return text;
}

std::string PerformanceTimerObj::get_FormatTime(const std::string& msg) const {
    double seconds = -1;
    return get_FormatTime(msg, seconds);
}

double PerformanceTimerObj::get_Precision() const {
    return 1.0 / static_cast<double>(m_frequency);
}

std::string PerformanceTimerObj::get_TimeMS() const {
    return FormatTenths(get_ElapsedTime() * 1000);
}

void PerformanceTimerObj::put_TimeoutMS(double value) {
    m_timeoutMS = value;
    StartTimer(true);
}

void PerformanceTimerObj::put_Timeout(double value) {
    m_timeoutMS = value * 1000;
    StartTimer(true);
}

double PerformanceTimerObj::get_TimeoutLeftSec() const {
    return m_timeoutMS / 1000 - get_ElapsedTime();
}

std::string PerformanceTimerObj::get_TimeOutLeftStr() const {
    // Minutes are floored, seconds rounded, each from its own reading, and both keep the sign
    // of what is left: 5.2 s past the timeout reads "-01:-05".
    const double minutes = std::fmod(std::floor(get_TimeoutLeftSec() / 60), 60.0);
    const double seconds = std::fmod(RoundHalfEven(get_TimeoutLeftSec()), 60.0);
    return TwoDigits(minutes) + ":" + TwoDigits(seconds);
}

bool PerformanceTimerObj::get_IsTimedOut() const {
    return get_ElapsedTime() * 1000 > m_timeoutMS;
}

void PerformanceTimerObj::ResetTimer() {
    m_totalCount = 0;
}

void PerformanceTimerObj::AddToTimeout(double seconds) {
    m_timeoutMS += seconds * 1000;
}

void PerformanceTimerObj::SetNewTimeout(double seconds) {
    m_timeoutMS = seconds * 1000;
}

void PerformanceTimerObj::AddToElapsedTime(double seconds) {
    m_startCount -= seconds / m_secPerCount;
}

}  // namespace arn
