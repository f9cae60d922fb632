#include "app/arnreg/ImportTally.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/RegistryTestSupport.h"

namespace arn::test {
namespace {

using testing::ElementsAre;
using Count = ImportTally::Count;
using ShortRoot = ImportTally::ShortRoot;

std::string Image(const std::vector<std::string>& lines) {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    for (const std::string& line : lines) {
        text += "\r\n" + line;
    }
    return text + "\r\n";
}

class ImportTallyTest : public testing::Test {
  protected:
    ScopedFreshRegistry m_registry;
};

TEST_F(ImportTallyTest, CountsKeysOnceAndValuesPerLineUpToTheFirstRefusal) {
    const ImportTally tally(Image({
        R"([HKEY_CURRENT_USER\Software\A])",  // line 2
        R"("x"="1")",
        R"("y"="2")",
        R"([HKEY_CURRENT_USER\Software/B])",
        R"("z"="3")",
        R"([HKEY_CURRENT_USER\software\a])",  // the same key as line 2
        R"("x"="again")",
        R"("no equal sign)",  // line 9: refused
        R"("after"="never")",
    }));
    EXPECT_EQ(tally.Before(2), (Count{0, 0}));
    EXPECT_EQ(tally.Before(4), (Count{1, 1}));
    EXPECT_EQ(tally.Before(9), (Count{2, 4}));
    EXPECT_EQ(tally.Total(), (Count{2, 4}));
    EXPECT_EQ(tally.FirstRefusal(), 9u);
    EXPECT_THAT(tally.ShortRoots(), ElementsAre());
}

TEST_F(ImportTallyTest, ForeseesRefusalsOfRootsAndReadOnlyKeys) {
    const ImportTally shortRoot(Image({R"([HKCU\Software\A])", R"("x"="1")"}));
    EXPECT_THAT(shortRoot.ShortRoots(), ElementsAre(ShortRoot{2, "HKCU", "HKEY_CURRENT_USER"}));
    EXPECT_EQ(shortRoot.FirstRefusal(), 3u);
    EXPECT_EQ(shortRoot.Total(), (Count{0, 0}));
    // The load compares root names exactly.
    const ImportTally lowerCase(Image({R"([hkey_users\x])"}));
    EXPECT_THAT(lowerCase.ShortRoots(), ElementsAre(ShortRoot{2, "hkey_users", "HKEY_USERS"}));
    EXPECT_EQ(lowerCase.FirstRefusal(), std::nullopt);

    // An existing key under HKEY_LOCAL_MACHINE opens read-only; a new one is created writable,
    // and read-only once a later header opens it again.
    CRegistry existing;
    Open(existing, "Software\\Old", true, HKEY_LOCAL_MACHINE);
    existing.CloseKey();
    const ImportTally machine(Image({
        R"([HKEY_LOCAL_MACHINE\Software\New])",
        R"("x"="1")",
        R"([HKEY_LOCAL_MACHINE\Software\New])",
        R"("y"="2")",
    }));
    EXPECT_EQ(machine.FirstRefusal(), 5u);
    EXPECT_EQ(machine.Before(5), (Count{1, 1}));
    const ImportTally old(Image({R"([HKEY_LOCAL_MACHINE\Software\Old])", R"("x"="1")"}));
    EXPECT_EQ(old.FirstRefusal(), 3u);

    // The whole text refused: nothing written.
    const ImportTally unsigned_("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n");
    EXPECT_EQ(unsigned_.FirstRefusal(), 0u);
    EXPECT_EQ(unsigned_.Total(), (Count{0, 0}));
}

TEST(ImportTallyLineOfError, ReadsTheLineOfAFormatError) {
    EXPECT_EQ(ImportTally::LineOfError("Format Error: no equal signs.  Line 4=>'\"x'"), 4u);
    EXPECT_EQ(ImportTally::LineOfError("Format Error: registry section formatting.  Line "
                                       "12=>'[HKCU]'"),
              12u);
    EXPECT_EQ(ImportTally::LineOfError("No key is currently open."), std::nullopt);
    EXPECT_EQ(ImportTally::LineOfError("Line x=>"), std::nullopt);
}

}  // namespace
}  // namespace arn::test
