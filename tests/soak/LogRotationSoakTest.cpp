#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/FakeCounter.h"
#include "fakes/RegistryTestSupport.h"
#include "fakes/TraceReset.h"
#include "support/DebuggingFlags.h"

namespace arn {
namespace {

constexpr int64_t kRotationLines = 1'000;
constexpr int kLines = 3'500;  // rotations before lines 1,001, 2,001 and 3,001

// The message of line n: its number and a payload whose length varies, so that lines of all
// sizes cross the batches the log writes.
std::string Message(int n) {
    return ".line " + std::to_string(n) + " " + std::string(static_cast<size_t>(n * 37 % 300), 'x');
}

// The file's lines; each must end with a line end.
std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    const std::string all = test::ReadFile(path);
    EXPECT_TRUE(all.ends_with('\n')) << path;
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(all.substr(start, end - start));
    }
    return lines;
}

TEST(LogSoak, ThreeRotationsLoseDuplicateAndCutNoLine) {
    test::ResetTraceState();
    const int64_t previousRotation = SetLogRotationLines(kRotationLines);
    test::FakeCounter counter{1'000'000};
    test::FakeClock clock{LocalDateTime{2026, 3, 9, 14, 5, 7}};
    test::TempDir temp;
    OpenLogFile((temp / "soak.log").string());
    for (int n = 1; n <= kLines; ++n) {
        // Bursts of lines a few microseconds apart, and now and then a pause that writes at once.
        counter.Advance(n % 97 == 0 ? 250'000 : 7);
        DebugTrace("Soak", Message(n), TraceLevelAlways, false);
    }
    CloseLogFile();
    test::ResetTraceState();
    SetLogRotationLines(previousRotation);

    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2) << "soak.log and soak.old";
    // The third rotation kept lines 2,001 to 3,000; the log holds the rest, each once, whole
    // (the date, the two stamps, the class and the full message) and in order.
    const std::vector<std::string> old = ReadLines(temp / "soak.old");
    const std::vector<std::string> log = ReadLines(temp / "soak.log");
    ASSERT_EQ(old.size(), 1000u);
    ASSERT_EQ(log.size(), 500u);
    int n = 2001;
    for (const auto* part : {&old, &log}) {
        for (const std::string& line : *part) {
            ASSERT_TRUE(line.starts_with("2026-03-09 14:05:07: ") &&
                        line.find("\t+") != std::string::npos &&
                        line.ends_with("\tSoak" + Message(n)))
                << n << ": " << line.substr(0, 80);
            ++n;
        }
    }
}

}  // namespace
}  // namespace arn
