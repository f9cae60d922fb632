// What only Linux lets a test do to a log: a device that is always full, and a limit on the
// size of the files the process writes.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fakes/FakeCounter.h"
#include "fakes/RegistryTestSupport.h"
#include "fakes/TraceReset.h"
#include "platform/DebugChannel.h"
#include "support/DebuggingFlags.h"

namespace arn {
namespace {

namespace fs = std::filesystem;

size_t LineCount(const fs::path& path) {
    std::ifstream in(path);
    size_t n = 0;
    for (std::string line; std::getline(in, line);) {
        ++n;
    }
    return n;
}

// Limits the size of files this process writes for its lifetime, with the signal that
// exceeding it raises ignored, so that writes past it are cut short or refused.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    bool ok() const { return m_ok; }

  private:
    void (*m_handler)(int);
    rlimit m_saved{};
    bool m_ok = false;
};

class LogFileLimits : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetTraceState(); }
    void TearDown() override { test::ResetTraceState(); }

    test::FakeCounter counter{1'000'000};
    test::FakeClock clock{LocalDateTime{2026, 3, 9, 14, 5, 7}};
    test::TempDir dir;
    std::vector<std::string> output;
    Connection listener =
        AttachDebugListener([this](std::string_view line) { output.emplace_back(line); });
};

TEST_F(LogFileLimits, AFullLogReportsFalseAndTracingGoesOn) {
    fs::create_symlink("/dev/full", dir / "full.log");
    OpenLogFile((dir / "full.log").string());
    EXPECT_FALSE(WriteLogLine("lost", ""));
    EXPECT_NO_THROW(DebugTrace("X", "traced anyway", TraceLevelAlways, false));
    EXPECT_EQ(output.size(), 1u);
}

TEST_F(LogFileLimits, BurstsAreGatheredAndRefusedLinesStayQueued) {
    const fs::path log = dir / "burst.log";
    OpenLogFile(log.string());
    DebugTrace("X", "first", TraceLevelAlways, false);  // after a pause: written at once
    counter.Advance(10'000);                            // 10 ms later
    DebugTrace("X", "second", TraceLevelAlways, false);
    DebugTrace("X", "third", TraceLevelAlways, false);
    EXPECT_EQ(LineCount(log), 1u);
    counter.Advance(100'000);  // 100 ms after the last write
    DebugTrace("X", "fourth", TraceLevelAlways, false);
    EXPECT_EQ(LineCount(log), 4u);

    counter.Advance(1'000);
    DebugTrace("X", "fifth", TraceLevelAlways, false);
    DebugTrace("X", "sixth", TraceLevelAlways, false);
    {
        FileSizeLimit limit(static_cast<rlim_t>(fs::file_size(log)) + 50);  // one line and a part
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(FlushLogFile());
    }
    EXPECT_EQ(LineCount(log), 5u) << "the cut-off part of the next line is gone again";
    EXPECT_TRUE(FlushLogFile());  // the refused line went nowhere and is written now
    ASSERT_EQ(LineCount(log), 6u);
    std::ifstream in(log);
    std::string last;
    for (std::string line; std::getline(in, line);) {
        last = line;
    }
    EXPECT_NE(last.find("sixth"), std::string::npos);

    output.clear();
    DebugTrace("X", "seventh", TraceLevelAlways, false);
    {
        FileSizeLimit limit(fs::file_size(log));
        ASSERT_TRUE(limit.ok());
        CloseLogFile();
    }
    ASSERT_EQ(output.size(), 2u);
    EXPECT_NE(output[1].find("DebuggingFlags: 1 log lines could not be written to " + log.string()),
              std::string::npos);
    EXPECT_EQ(LineCount(log), 6u);
}

}  // namespace
}  // namespace arn
