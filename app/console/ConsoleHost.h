#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace arn {

// The console host: attaches the position panel to a simulated drive, runs timer ticks and an
// optional script, and prints the panel's controls and the trace, so the library can be seen
// working (and checked) without a display. Output goes to `out`, messages to `err`.
class ConsoleHost {
  public:
    static constexpr int kExitOk = 0;
    static constexpr int kExitFailure = 1;  // the panel or the drive raised an error
    static constexpr int kExitUsage = 2;    // the command line or the script is wrong

    ConsoleHost(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    // Runs the arguments that follow the program name; returns the exit status.
    int Run(const std::vector<std::string>& args);

    static void PrintUsage(std::ostream& to);

  private:
    int Usage(const std::string& problem);

    std::ostream& m_out;
    std::ostream& m_err;
};

}  // namespace arn
