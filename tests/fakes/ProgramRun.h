#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace arn::test {

// What a finished program left: its exit status (-1 when a signal ended it) and everything it
// wrote to standard output and standard error.
struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args` in `workingDir` (the test's own when empty) and waits for it. The
// environment is the test's, with each entry of `env` set, or removed when it maps to nullopt.
// Standard input is empty. POSIX systems only.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::optional<std::string>>& env = {},
                         const std::string& workingDir = {});

}  // namespace arn::test
