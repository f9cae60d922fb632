#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "core/RaisedError.h"
#include "fakes/FakeCounter.h"
#include "fakes/RegistryTestSupport.h"
#include "fakes/TraceReset.h"
#include "platform/DebugChannel.h"
#include "support/DebuggingFlags.h"

namespace arn {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetTraceState(); }
    void TearDown() override {
        test::ResetTraceState();
        SetLogRotationLines(rotation);
    }

    test::FakeCounter counter{1'000'000};
    test::FakeClock clock{LocalDateTime{2026, 3, 9, 14, 5, 7}};
    test::TempDir temp;
    const fs::path dir = temp.path();
    std::vector<std::string> output;  // the debug output
    Connection listener = AttachDebugListener([this](auto line) { output.emplace_back(line); });
    // A test leaves the rotation threshold as it found it.
    const int64_t rotation = [] {
        const int64_t now = SetLogRotationLines(0);
        SetLogRotationLines(now);
        return now;
    }();
};

TEST_F(LogFileTest, LinesAreStampedWithLocalDateTimeAndBadPathsAreRefused) {
    EXPECT_FALSE(WriteLogLine("text", ""));
    DebugTrace("X", "still traced", TraceLevelAlways, false);  // no log: debug output only
    EXPECT_EQ(output.size(), 1u);
    EXPECT_EQ(
        test::RaisedError([&] { OpenLogFile((dir / "trace.txt").string()); }),
        std::to_string(LogPathError) +
            " DebuggingFlags.OpenLogFile: The log file name must contain \".log\" (the rotated "
            "file replaces it by \".old\"): " +
            (dir / "trace.txt").string());
    EXPECT_THROW(OpenLogFile((dir / "missing" / "trace.log").string()), ArnError);
    EXPECT_FALSE(LogFileOpen());

    const fs::path log = dir / "arn.log";
    std::ofstream(log, std::ios::binary) << "earlier line\n";
    OpenLogFile(log.string());
    DebugTrace("ArnAbsPosnCtl", ".UIuserControl_ReleaseControl", TraceLevelAlways, false);
    clock.Set(LocalDateTime{987, 12, 31, 0, 0, 0});
    counter.Advance(1'500);
    DebugTrace("jogAndSwInputs", "refused", TraceLevelAlways, false);
    EXPECT_TRUE(WriteLogLine("direct", "PFX"));
    EXPECT_TRUE(WriteLogLine("", ""));
    CloseLogFile();
    EXPECT_FALSE(WriteLogLine("after close", ""));
    EXPECT_EQ(test::ReadFile(log),
              "earlier line\n"
              "2026-03-09 14:05:07: 0.0\t+0.0\tArnAbsPosnCtl.UIuserControl_ReleaseControl\n"
              "0987-12-31 00:00:00: 1.5\t+1.5\tjogAndSwInputs refused\n"
              "0987-12-31 00:00:00 PFX: direct\n"
              "0987-12-31 00:00:00: \n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A read-only old file is replaced too: Windows refuses to remove one as it stands.
TEST_F(LogFileTest, RotationKeepsOneOldFileReadOnlyOrNot) {
    EXPECT_EQ(SetLogRotationLines(3), 500000) << "the threshold in force by default";
    const fs::path log = dir / "arn.log";
    const auto line = [](int n) { return "2026-03-09 14:05:07: line " + std::to_string(n); };
    OpenLogFile(log.string());
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(WriteLogLine("line " + std::to_string(i), ""));
    }
    EXPECT_FALSE(fs::exists(dir / "arn.old")) << "line number 4 is not past the limit yet";

    ASSERT_TRUE(WriteLogLine("line 4", ""));
    EXPECT_EQ(Lines(dir / "arn.old"), (std::vector<std::string>{line(1), line(2), line(3)}));
    EXPECT_EQ(Lines(log), std::vector<std::string>{line(4)});

    fs::permissions(dir / "arn.old", fs::perms::owner_read);
    for (int i = 5; i <= 7; ++i) {
        ASSERT_TRUE(WriteLogLine("line " + std::to_string(i), "")) << i;
    }
    EXPECT_TRUE(LogFileOpen());
    EXPECT_EQ(Lines(dir / "arn.old"), (std::vector<std::string>{line(4), line(5), line(6)}));
    EXPECT_EQ(Lines(log), std::vector<std::string>{line(7)});
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(LogFileTest, OldNameReplacesEveryLogInThePathAndAFailedRotationCloses) {
    SetLogRotationLines(1);
    fs::create_directory(dir / "x.log.d");
    const fs::path log = dir / "x.log.d" / "a.log.txt";
    OpenLogFile(log.string());
    ASSERT_TRUE(WriteLogLine("one", ""));
    // The old name lies in a folder that does not exist: the rotation fails, the log closes
    // and keeps what it had.
    EXPECT_FALSE(WriteLogLine("two", ""));
    EXPECT_FALSE(WriteLogLine("three", ""));
    EXPECT_EQ(Lines(log), std::vector<std::string>{"2026-03-09 14:05:07: one"});

    fs::create_directory(dir / "x.old.d");
    OpenLogFile(log.string());
    ASSERT_TRUE(WriteLogLine("four", ""));
    ASSERT_TRUE(WriteLogLine("five", ""));
    EXPECT_EQ(Lines(dir / "x.old.d" / "a.old.txt"),
              (std::vector<std::string>{"2026-03-09 14:05:07: one", "2026-03-09 14:05:07: four"}));
}

#ifndef _WIN32
// What only Linux lets a test do to a log: a device that is always full, a link where the old
// file goes, and a limit on the size of the files the process writes.

// Limits the size of files this process writes for its lifetime, with the signal that
// exceeding it raises ignored, so that writes past it are cut short or refused.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited{bytes, m_saved.rlim_max};
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

  private:
    void (*m_handler)(int);
    rlimit m_saved{};
};

TEST_F(LogFileTest, AFullLogReportsFalseAndTracingGoesOn) {
    fs::create_symlink("/dev/full", dir / "full.log");
    OpenLogFile((dir / "full.log").string());
    EXPECT_FALSE(WriteLogLine("lost", ""));
    EXPECT_NO_THROW(DebugTrace("X", "traced anyway", TraceLevelAlways, false));
    DebugTrace("X", "queued in the same burst", TraceLevelAlways, false);
    EXPECT_FALSE(WriteLogLine(std::string(5000, 'x'), "")) << "no room behind the queued line";
    EXPECT_EQ(output.size(), 2u);
}

// A link at the old name is replaced by the old lines; the file it pointed to stays as it was.
TEST_F(LogFileTest, RotationReplacesALinkAtTheOldNameAndNotItsTarget) {
    SetLogRotationLines(1);
    std::ofstream(dir / "kept") << "kept\n";
    fs::create_symlink(dir / "kept", dir / "s.old");
    OpenLogFile((dir / "s.log").string());
    ASSERT_TRUE(WriteLogLine("one", "") && WriteLogLine("two", ""));
    EXPECT_FALSE(fs::is_symlink(dir / "s.old"));
    EXPECT_EQ(Lines(dir / "kept"), std::vector<std::string>{"kept"});
}

TEST_F(LogFileTest, BurstsAreGatheredAndRefusedLinesStayQueued) {
    const fs::path log = dir / "burst.log";
    OpenLogFile(log.string());
    DebugTrace("X", "first", TraceLevelAlways, false);  // after a pause: written at once
    counter.Advance(10'000);                            // 10 ms later
    DebugTrace("X", "second", TraceLevelAlways, false);
    DebugTrace("X", "third", TraceLevelAlways, false);
    EXPECT_EQ(Lines(log).size(), 1u);
    counter.Advance(100'000);  // 100 ms after the last write
    DebugTrace("X", "fourth", TraceLevelAlways, false);
    EXPECT_EQ(Lines(log).size(), 4u);

    counter.Advance(1'000);
    DebugTrace("X", "fifth", TraceLevelAlways, false);
    DebugTrace("X", "sixth", TraceLevelAlways, false);
    {
        FileSizeLimit limit(static_cast<rlim_t>(fs::file_size(log)) + 50);  // one line and a part
        EXPECT_FALSE(FlushLogFile());
    }
    EXPECT_EQ(Lines(log).size(), 5u) << "the cut-off part of the next line is gone again";
    EXPECT_TRUE(FlushLogFile());  // the refused line went nowhere and is written now
    ASSERT_EQ(Lines(log).size(), 6u);
    EXPECT_NE(Lines(log).back().find("sixth"), std::string::npos);

    output.clear();
    DebugTrace("X", "seventh", TraceLevelAlways, false);
    {
        FileSizeLimit limit(fs::file_size(log));
        CloseLogFile();
    }
    ASSERT_EQ(output.size(), 2u);
    EXPECT_TRUE(output[1].ends_with("DebuggingFlags: 1 log lines could not be written to " +
                                    log.string() + "\r\n"));
    EXPECT_EQ(Lines(log).size(), 6u);
}

#endif

}  // namespace
}  // namespace arn
