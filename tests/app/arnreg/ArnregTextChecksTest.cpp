// What arnreg foresees of registry text before it writes: the values an export cannot carry
// back, what an import writes up to its first refusal, and the lines of other tools.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "app/arnreg/ExportLosses.h"
#include "app/arnreg/ForeignLines.h"
#include "app/arnreg/ImportTally.h"
#include "core/ArnError.h"
#include "fakes/RegistryTestSupport.h"
#include "support/CRegistry.h"

namespace arn::test {
namespace {

using testing::ElementsAre;
using Count = ImportTally::Count;
using Loss = ExportLosses::Loss;
using Warning = ForeignLines::Warning;

// Registry text from its lines: the signature, the line after it, then `lines`.
std::string Image(const std::vector<std::string>& lines) {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    for (const std::string& line : lines) {
        text += "\r\n" + line;
    }
    return text + "\r\n";
}

// Each test on a fresh registry; Load replaces it.
class RegistryTextChecks : public testing::Test {
  protected:
    // Loads `image` into a fresh registry, kept for reading until the next load; the error the
    // load raised, if any.
    std::optional<ArnError> Load(const std::string& image) {
        m_registry.emplace();
        try {
            CRegistry().LoadRegistry(image);
        } catch (const ArnError& e) {
            return e;
        }
        return std::nullopt;
    }

  private:
    std::optional<ScopedFreshRegistry> m_registry{std::in_place};
};

TEST_F(RegistryTextChecks, ExportLossesNameEveryValueTheTextCannotCarryBackDepthFirst) {
    {
        CRegistry top;
        Open(top, "Software\\Arn", true);
        top.WriteValue("Title", "Main axis");
        top.WriteDWORD("Count", 42);
        top.WriteValue("a=b", "x");
        top.WriteValue("Text", "two\r\nlines");
        CRegistry sub;
        Open(sub, "Software\\Arn\\Sub", true);
        sub.WriteValue("", "default");
        sub.WriteValue("Fine", "yes");
    }
    KeyHandle key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Arn", 0, KEY_ALL_ACCESS, key.out()),
              ERROR_SUCCESS);
    const uint8_t bytes[] = {1, 2, 3};
    ASSERT_EQ(RegSetValueExA(key.get(), "Blob", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);

    const std::string top = "HKEY_CURRENT_USER\\Software\\Arn";
    const std::string raw =
        "; the text keeps the raw text of its bytes, which loads back as a string";
    const ExportLosses losses(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software\\Arn");
    EXPECT_THAT(
        losses.Losses(),
        testing::UnorderedElementsAre(
            Loss{top, "Count", "is REG_DWORD" + raw},
            Loss{top, "a=b",
                 "has \"=\" in its name; the load takes its first \"=\" for the one after the "
                 "name"},
            Loss{top, "Text", "holds a line break; the load reads each line apart"},
            Loss{top, "Blob", "is REG_BINARY" + raw},
            Loss{top + "\\Sub", "",
                 "is the default value; a line with an empty name does not load back"}));
    EXPECT_EQ(ExportLosses::TypeName(REG_QWORD), "REG_QWORD");
    EXPECT_EQ(ExportLosses::TypeName(99), "type 99");
}

TEST_F(RegistryTextChecks,
       ImportTallyCountsUpToTheFirstRefusalAndForeseesRefusalsOfRootsAndReadOnlyKeys) {
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
    EXPECT_EQ(tally.Before(9), tally.Total());
    EXPECT_EQ(tally.Total(), (Count{2, 4}));
    EXPECT_EQ(tally.FirstRefusal(), 9u);
    EXPECT_THAT(tally.ShortRoots(), ElementsAre());
    // The line of a load's format error, as the import reports it.
    EXPECT_EQ(ImportTally::LineOfError("Format Error: no equal signs.  Line 12=>'\"x'"), 12u);
    EXPECT_EQ(ImportTally::LineOfError("No key is currently open."), std::nullopt);
    // The load compares root names exactly; the program's test has the upper-case short root.
    const ImportTally lowerCase(Image({R"([hkey_users\x])"}));
    EXPECT_THAT(lowerCase.ShortRoots(),
                ElementsAre(ImportTally::ShortRoot{2, "hkey_users", "HKEY_USERS"}));
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

TEST_F(RegistryTextChecks, ForeignLinesSayWhatTheLoadDoesWithEachLineOfAnotherTool) {
    const std::string image = Image({
        R"([HKEY_CURRENT_USER\Software\Arn])",  // line 2
        R"(@="Main axis")",
        R"("Title"="Main axis")",
        R"("Count"=dword:0000002a)",
        R"("Blob"=hex:01,02,03,\)",
        R"(  04,05,\)",
        R"(  06)",
        R"("Path"=hex(2):25,00,50,00,00,00)",
        "",
        R"([-HKEY_CURRENT_USER\Software\Old])",
        "",
        R"([HKEY_CURRENT_USER\Software\Arn\Axis])",
        R"("Units"="mm")",
    });
    EXPECT_THAT(
        ForeignLines(image).Warnings(),
        ElementsAre(
            Warning{3,
                    "default value (@=) ignored: the load reads values only from lines that "
                    "start with a double quote"},
            Warning{5, R"(dword value "Count" stored as the string "word:0000002")"},
            Warning{6, R"(hex value "Blob" stored as the string "ex:01,02,03,"; its continuation )"
                       "lines 7 to 8 are ignored"},
            Warning{9, R"(hex(2) value "Path" stored as the string "ex(2):25,00,50,00,00,0")"},
            Warning{11, R"(key deletion [-HKEY_CURRENT_USER\Software\Old] ignored: nothing is )"
                        R"(deleted, and no key is open after it (its root "-HKEY_CURRENT_USER" is )"
                        "unknown) until the next section header"}));

    // The load does what the warnings say.
    ASSERT_EQ(Load(image), std::nullopt);
    EXPECT_EQ(Read("Software\\Arn", ""), "<missing>");
    EXPECT_EQ(Read("Software\\Arn", "Count"), "word:0000002");
    EXPECT_EQ(Read("Software\\Arn\\Axis", "Units"), "mm");
}

TEST_F(RegistryTextChecks, ForeignLinesNameTheLoadsErrorAtARefusedLineAndNothingAfterIt) {
    const std::pair<std::vector<std::string>, Warning> cases[] = {
        {{R"([HKEY_CURRENT_USER\A])", R"("Old"=-)", R"("Count"=dword:1)"},
         {3, R"(deletion of value "Old" ends the load: refused with error 5 from )"
             "ArnAbsPosn.cRegistry: Invalid procedure call or argument"}},
        {{R"([HKEY_CURRENT_USER\A])", R"(""=-)"},
         {3, R"(deletion of value "" ends the load: refused with error 0x80040005 from )"
             "CRegistry::LoadRegistry: Format Error: no equal signs.  Line 3=>'\"\"=-'"}},
        {{R"([-HKEY_CURRENT_USER])", R"(@="x")"},
         {2,
          "key deletion [-HKEY_CURRENT_USER] ends the load: refused with error 0x80040006 "
          "from CRegistry::LoadRegistry: Format Error: registry section formatting.  "
          "Line 2=>'[-HKEY_CURRENT_USER]'"}},
        {{R"("Count"=dword:1)", R"([HKEY_CURRENT_USER\A])"},
         {2, R"(dword value "Count" ends the load: refused with error 0x80040002 from )"
             "CRegistry:WriteValue: No key is currently open."}},
    };
    for (const auto& [lines, warning] : cases) {
        const std::string image = Image(lines);
        EXPECT_THAT(ForeignLines(image).Warnings(), ElementsAre(warning)) << image;
        // The load raises the error that the warning names.
        const std::optional<ArnError> error = Load(image);
        ASSERT_NE(error, std::nullopt) << image;
        EXPECT_THAT(warning.text,
                    testing::EndsWith(" from " + error->source() + ": " + error->description()));
    }
}

TEST_F(RegistryTextChecks, ForeignLinesLeaveOutLinesTheLoadNeverReadsAndCutTextAndNameAsItDoes) {
    // The line after the signature is skipped, whatever it holds.
    EXPECT_THAT(ForeignLines("Windows Registry Editor Version 5.00\r\n@=\"x\"\r\n\r\n").Warnings(),
                ElementsAre(Warning{
                    1, "default value (@=) ignored: the line after the signature is never read"}));
    // Text the load refuses as a whole.
    EXPECT_THAT(ForeignLines("REGEDIT4\r\n\r\n\"a\"=dword:1\r\n").Warnings(), testing::IsEmpty());
    // Text of this format alone.
    EXPECT_THAT(ForeignLines(Image({R"([HKEY_CURRENT_USER\A])", R"("a"="b")"})).Warnings(),
                testing::IsEmpty());
    std::string big = R"("Big"=hex:)";
    for (int i = 0; i < 40; ++i) {
        big += "00,";
    }
    big += "00";
    // The load takes the name up to two before the first "=", wherever the writer's name ends.
    const std::string image = Image({R"([HKEY_CURRENT_USER\A])", big, R"("ab=cd"=dword:1)"});
    EXPECT_THAT(
        ForeignLines(image).Warnings(),
        ElementsAre(
            Warning{3, R"(hex value "Big" stored as the string "ex:00,00,00,00,00,00,00,00,)"
                       R"(00,00,00,00,00,00,00,00,00,00,00,..." (124 bytes))"},
            Warning{4, R"(dword value "ab=cd" stored as the string "d"=dword:" named "a")"}));

    ASSERT_EQ(Load(image), std::nullopt);
    EXPECT_EQ(Read("A", "Big").size(), 124u);
    EXPECT_EQ(Read("A", "a"), "d\"=dword:");
}

}  // namespace
}  // namespace arn::test
