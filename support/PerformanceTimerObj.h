#pragma once

#include <cstdint>
#include <string>

namespace arn {

// Raised by the stopwatch when the system has no high-resolution counter.
inline constexpr int32_t NoHighResTimerError = 1001;

// A stopwatch on the high-resolution counter: the current run, a total over finished runs, and
// a timeout in milliseconds measured against the current run. Times are seconds unless the
// name says MS. Each operation reads the counter at most once, except TimeOutLeftStr, which
// reads the time left once for its minutes and again for its seconds.
class PerformanceTimerObj {
  public:
    // Starts a run at once (total zero, no timeout). Throws ArnError NoHighResTimerError when the
    // system has no high-resolution counter.
    PerformanceTimerObj();

    // Starts a new run; with ResetTotalTime the total of finished runs is cleared.
    void StartTimer(bool ResetTotalTime = false);
    // Ends the run, adding it to the total once; returns its seconds (again on a second call).
    double StopTimer();

    // The running time, or the last finished run's time once stopped.
    double get_ElapsedTime() const;
    double get_ElapsedTimeMS() const;
    // Finished runs plus the current one while running.
    double get_TotalTime() const;

    // msg with every "###" replaced by seconds rounded to decDigits decimals (ties to even).
    // A negative seconds stands for the elapsed time, which is written back into it; the
    // one-argument form always uses the elapsed time. decDigits < 0 throws ArnError 5.
    std::string get_FormatTime(const std::string& msg, double& seconds,
                               int16_t decDigits = 0) const;
    std::string get_FormatTime(const std::string& msg) const;

    // Seconds of one counter tick.
    double get_Precision() const;
    // Elapsed milliseconds as "0.0".
    std::string get_TimeMS() const;

    // Setting either restarts the run and clears the total.
    double get_TimeoutMS() const { return m_timeoutMS; }
    void put_TimeoutMS(double value);
    double get_Timeout() const { return m_timeoutMS / 1000; }
    void put_Timeout(double value);

    // Seconds left of the timeout; negative once it has passed.
    double get_TimeoutLeftSec() const;
    // Time left as minutes ":" seconds, each "00" (hours dropped; see the definition).
    std::string get_TimeOutLeftStr() const;
    // True once the elapsed milliseconds exceed the timeout (equal is not timed out).
    bool get_IsTimedOut() const;

    // Clears the total; the current run goes on.
    void ResetTimer();
    // Changes the timeout without restarting the run.
    void AddToTimeout(double seconds);
    void SetNewTimeout(double seconds);
    // Moves the start back so that the elapsed time grows by seconds.
    void AddToElapsedTime(double seconds);

  private:
    int64_t m_frequency = 0;
    double m_secPerCount = 0;
    double m_startCount = 0;
    double m_totalCount = 0;
    double m_timeoutMS = 0;
    bool m_running = false;
    double m_elapsedAtStop = 0;
};

}  // namespace arn
