// arnreg run as a user runs it, on a database of its own in a fresh folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fakes/ProgramRun.h"
#include "fakes/RegistryTestSupport.h"

namespace arn::test {
namespace {

using testing::HasSubstr;

class ArnregProgram : public testing::Test {
  protected:
    ProgramResult Arnreg(std::vector<std::string> args) {
        args.insert(args.begin(), {"--db", (m_dir / "registry.db").string()});
        return RunProgram(ARN_ARNREG_PATH, args);
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(m_dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempDir m_dir;
};

TEST_F(ArnregProgram, ExportOfValuesTheTextCannotCarryBackIsRefusedUnlessAllowed) {
    ASSERT_EQ(Arnreg({"set", "HKCU/Software/Arn", "Title", "Main axis"}).exitCode, 0);
    ASSERT_EQ(Arnreg({"set", "--dword", "HKCU/Software/Arn", "Count", "42"}).exitCode, 0);
    ASSERT_EQ(Arnreg({"set", "HKCU/Software/Arn/Sub", "", "default"}).exitCode, 0);
    const std::string file = (m_dir / "out.reg").string();

    const ProgramResult refused = Arnreg({"export", "HKCU/Software/Arn", file});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "arnreg: warning: HKEY_CURRENT_USER\\Software\\Arn: value \"Count\" is REG_DWORD; "
              "the text keeps the raw text of its bytes, which loads back as a string\n"
              "arnreg: warning: HKEY_CURRENT_USER\\Software\\Arn\\Sub: value \"\" is the "
              "default value; a line with an empty name does not load back\n"
              "arnreg: export refused: 2 values would not load back as they are; nothing was "
              "written (--allow-lossy writes the text anyway)\n");
    EXPECT_FALSE(std::filesystem::exists(file));
    const ProgramResult allowed = Arnreg({"export", "--allow-lossy", "HKCU/Software/Arn", file});
    EXPECT_EQ(allowed.exitCode, 0) << allowed.err;
    EXPECT_THAT(allowed.err, HasSubstr("value \"Count\" is REG_DWORD"));
    EXPECT_THAT(allowed.err, testing::Not(HasSubstr("refused")));
    // The DWORD 42 is the bytes 2A 00 00 00, read as text less its final NUL.
    EXPECT_EQ(Read("out.reg"),
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n"
              "\"Title\"=\"Main axis\"\r\n"
              "\"Count\"=\"*" +
                  std::string(2, '\0') +
                  "\"\r\n"
                  "\r\n[HKEY_CURRENT_USER\\Software\\Arn\\Sub]\r\n"
                  "\"\"=\"default\"\r\n");

    // Strings alone export without a word.
    ASSERT_EQ(Arnreg({"set", "HKCU/Software/Plain", "Name", "x"}).exitCode, 0);
    EXPECT_EQ(Arnreg({"export", "HKCU/Software/Plain"}).err, "");
}

TEST_F(ArnregProgram, ImportSaysWhatItWroteOrWouldAndWhatAFailedOneKept) {
    const std::string broken = Write("broken.reg",
                                     "Windows Registry Editor Version 5.00\r\n\r\n"
                                     "[HKEY_CURRENT_USER\\Software\\C]\r\n\"kept\"=\"yes\"\r\n"
                                     "\"no equal sign\r\n\"after\"=\"never\"\r\n");
    const std::string fresh = Write("fresh.reg",
                                    "Windows Registry Editor Version 5.00\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\F]\r\n\"kept\"=\"yes\"\r\n");
    const std::string error =
        "error 0x80040005 from CRegistry::LoadRegistry: Format Error: no equal signs.  Line "
        "4=>'\"no equal sign'\n";
    // --check and --atomic write nothing of the broken file; the plain load keeps what came
    // before the error. --check of a good file writes nothing either; --atomic writes it all.
    const struct {
        std::string option;
        std::string file;
        int exitCode;
        std::string out;
        std::string err;
        std::string key;
        bool kept;
    } rows[] = {
        {"--check", broken, 1, "",
         "arnreg: check: import would have failed: " + error +
             "arnreg: check: before the error (line 4) the import would write 1 key and 1 value "
             "of '" +
             broken + "'; nothing was written\n",
         "HKCU/Software/C", false},
        {"--atomic", broken, 1, "",
         "arnreg: import failed: " + error +
             "arnreg: the error (line 4) rolled the whole import of '" + broken +
             "' back; nothing was written\n",
         "HKCU/Software/C", false},
        {"", broken, 1, "",
         "arnreg: import failed: " + error +
             "arnreg: before the error (line 4) the import wrote 1 key and 1 value of '" + broken +
             "'; they stay written\n",
         "HKCU/Software/C", true},
        {"--check", fresh, 0,
         "check: the import would write 1 key and 1 value from '" + fresh +
             "' without an error; nothing was written\n",
         "", "HKCU/Software/F", false},
        {"--atomic", fresh, 0, "imported 1 key and 1 value from '" + fresh + "'\n", "",
         "HKCU/Software/F", true},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"import", row.file};
        if (!row.option.empty()) {
            args.insert(args.begin() + 1, row.option);
        }
        const ProgramResult run = Arnreg(args);
        EXPECT_EQ(run.exitCode, row.exitCode) << row.option;
        EXPECT_EQ(run.out, row.out) << row.option;
        EXPECT_EQ(run.err, row.err) << row.option;
        EXPECT_EQ(Arnreg({"get", row.key, "kept"}).out, row.kept ? "yes\n" : "") << row.option;
    }
    EXPECT_EQ(Arnreg({"get", "HKCU/Software/C", "after"}).exitCode, 1);
}

TEST_F(ArnregProgram, AShortRootInAFileGetsAHint) {
    const std::string file = Write("short.reg",
                                   "Windows Registry Editor Version 5.00\r\n\r\n"
                                   "[HKCU\\Software\\D]\r\n\"x\"=\"1\"\r\n");
    const ProgramResult run = Arnreg({"import", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "arnreg: hint: line 2: the root \"HKCU\" is not known to registry text, which "
              "opens no key after it; files need the full root names, such as "
              "HKEY_CURRENT_USER\n"
              "arnreg: import failed: error 0x80040002 from CRegistry:WriteValue: No key is "
              "currently open.\n"
              "arnreg: before the error (line 3) the import wrote 0 keys and 0 values of '" +
                  file + "'; they stay written\n");
}

TEST_F(ArnregProgram, AnUnusableDatabaseIsNamedInOneSentence) {
    const std::string folder = m_dir.path().string();
    const std::string junk = Write("junk.db", "this is not a database, not even close to one\n");
    const std::string unreachable = "/proc/no-such-process/registry.db";
    const std::pair<std::string, std::string> cases[] = {
        {folder, "'" + folder + "' as the registry database, since it is a folder\n"},
        {junk, "'" + junk +
                   "' as the registry database, since it is not one or cannot be opened for "
                   "writing\n"},
        {junk + "/registry.db", "'" + junk + "/registry.db' as the registry database, since '" +
                                    junk + "' is not a folder\n"},
        {unreachable, "make the folder for the registry database '" + unreachable + "' ("},
    };
    for (const auto& [db, err] : cases) {
        const ProgramResult run = RunProgram(ARN_ARNREG_PATH, {"--db", db, "list", "HKCU"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(run.err, testing::StartsWith("arnreg: cannot " +
                                                 (err.starts_with("'") ? "use " + err : err)));
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(Read("junk.db"), "this is not a database, not even close to one\n");
}

TEST_F(ArnregProgram, AWrongCommandLineGetsOneLineAndAPointerToTheHelp) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{}, "arnreg: no command given; see arnreg --help\n"},
        {{"frobnicate"}, "arnreg: unknown command 'frobnicate'; see arnreg --help\n"},
        {{"get"}, "arnreg: wrong number of arguments for 'get'; see arnreg --help\n"},
        {{"--bogus", "list", "HKCU"}, "arnreg: unknown option '--bogus'; see arnreg --help\n"},
        {{"list", "HKXX\\Software"},
         "arnreg: 'HKXX\\Software' does not start with a root key such as HKEY_CURRENT_USER; "
         "see arnreg --help\n"},
        {{"set", "--dword", "HKCU/A", "n", "12x"},
         "arnreg: '12x' is not a 32-bit number (decimal or 0x hex); see arnreg --help\n"},
        {{"--check", "list", "HKCU"},
         "arnreg: --check applies to 'import' only; see arnreg --help\n"},
        {{"import", "--check", "--atomic", "x.reg"},
         "arnreg: --check and --atomic do not go together; see arnreg --help\n"},
        {{"list", "--allow-lossy", "HKCU/Software/Plain"},
         "arnreg: --allow-lossy applies to 'export' only; see arnreg --help\n"},
    };
    for (const Case& c : cases) {
        const ProgramResult run = Arnreg(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.err;
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    const ProgramResult help = Arnreg({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("--allow-lossy"));
    EXPECT_THAT(help.out, HasSubstr("import [--check | --atomic] FILE"));
}

TEST_F(ArnregProgram, GetWithoutANameReadsTheDefaultValue) {
    ASSERT_EQ(Arnreg({"set", "HKCU/Software/E", "Named", "n"}).exitCode, 0);
    const ProgramResult none = Arnreg({"get", "HKCU/Software/E"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "arnreg: no default value in HKCU/Software/E\n");
    ASSERT_EQ(Arnreg({"set", "HKCU/Software/E", "", "the default"}).exitCode, 0);
    const ProgramResult some = Arnreg({"get", "HKCU/Software/E"});
    EXPECT_EQ(some.exitCode, 0);
    EXPECT_EQ(some.out, "the default\n");

    // Control characters come out escaped, never raw to the terminal.
    ASSERT_EQ(Arnreg({"set", "HKCU/Software/E", "tab\there", "a\nb\x1b[2J\x7f\r"}).exitCode, 0);
    EXPECT_EQ(Arnreg({"get", "HKCU/Software/E", "tab\there"}).out, "a\\nb\\x1b[2J\\x7f\\r\n");
    EXPECT_EQ(Arnreg({"list", "HKCU/Software/E"}).out,
              "Named = n\n(Default) = the default\ntab\\there = a\\nb\\x1b[2J\\x7f\\r\n");
}

}  // namespace
}  // namespace arn::test
