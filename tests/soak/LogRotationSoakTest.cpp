#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fakes/FakeCounter.h"
#include "fakes/RegistryTestSupport.h"
#include "fakes/TraceReset.h"
#include "support/DebuggingFlags.h"

namespace arn {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kRotationLines = 1'000;
constexpr int kLines = 3'500;  // rotations before lines 1,001, 2,001 and 3,001

// The message of line n: its number and a payload whose length varies, so that lines of all
// sizes cross the batches the log writes.
std::string Message(int n) {
    return ".line " + std::to_string(n) + " " + std::string(static_cast<size_t>(n * 37 % 300), 'x');
}

std::vector<std::string> ReadLines(const fs::path& path, bool& endsWithLineEnd) {
    std::ifstream in(path, std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), {});
    endsWithLineEnd = !all.empty() && all.back() == '\n';
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(all.substr(start, end - start));
    }
    if (start < all.size()) {
        lines.push_back(all.substr(start));
    }
    return lines;
}

// The line number that a log line carries, after checking that the line is whole: the date,
// the two stamps, the class and the full message of that number. -1 for a line that is not.
int LineNumber(const std::string& line) {
    constexpr std::string_view kDate = "2026-03-09 14:05:07: ";
    if (line.compare(0, kDate.size(), kDate) != 0) {
        return -1;
    }
    const size_t text = line.find("\tSoak.line ");
    if (text == std::string::npos || line.find("\t+") == std::string::npos) {
        return -1;
    }
    const int n = std::atoi(line.c_str() + text + 11);
    return line.compare(text + 5, std::string::npos, Message(n)) == 0 ? n : -1;
}

class LogSoak : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ResetTraceState();
        previousRotation = SetLogRotationLines(kRotationLines);
    }
    void TearDown() override {
        test::ResetTraceState();
        SetLogRotationLines(previousRotation);
    }

    test::FakeCounter counter{1'000'000};
    test::FakeClock clock{LocalDateTime{2026, 3, 9, 14, 5, 7}};
    test::TempDir temp;
    const fs::path dir = temp.path();
    int64_t previousRotation = 0;
};

TEST_F(LogSoak, ThreeRotationsLoseDuplicateAndCutNoLine) {
    OpenLogFile((dir / "soak.log").string());
    for (int n = 1; n <= kLines; ++n) {
        // Bursts of lines a few microseconds apart, and now and then a pause that writes at once.
        counter.Advance(n % 97 == 0 ? 250'000 : 7);
        DebugTrace("Soak", Message(n), TraceLevelAlways, false);
    }
    CloseLogFile();

    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"soak.log", "soak.old"}));

    bool oldEnds = false;
    bool logEnds = false;
    const std::vector<std::string> old = ReadLines(dir / "soak.old", oldEnds);
    const std::vector<std::string> log = ReadLines(dir / "soak.log", logEnds);
    EXPECT_TRUE(oldEnds);
    EXPECT_TRUE(logEnds);
    // The third rotation kept lines 2,001 to 3,000; the log holds the rest, each once, whole
    // and in order.
    ASSERT_EQ(old.size(), 1000u);
    ASSERT_EQ(log.size(), 500u);
    int expected = 2001;
    for (const auto* part : {&old, &log}) {
        for (const std::string& line : *part) {
            ASSERT_EQ(LineNumber(line), expected) << line.substr(0, 80);
            ++expected;
        }
    }
    EXPECT_EQ(expected, kLines + 1);
    std::printf(
        "log soak: %d lines through 3 rotations of %lld lines; soak.old %zu, soak.log %zu\n",
        kLines, static_cast<long long>(kRotationLines), old.size(), log.size());
}

}  // namespace
}  // namespace arn
