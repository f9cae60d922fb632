// arnreg run as a user runs it, on a database of its own in a fresh folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <tuple>

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
    // The exit status and what the program wrote to standard error, as one text.
    std::string Failure(std::vector<std::string> args) {
        const ProgramResult run = Arnreg(std::move(args));
        return std::to_string(run.exitCode) + " " + run.err;
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Read(const std::string& name) { return ReadFile(m_dir / name); }

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
    EXPECT_EQ(allowed.err, refused.err.substr(0, refused.err.find("arnreg: export refused")));
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
    // option, file, exit status, output, errors, key, whether its value was kept
    const std::tuple<std::string, std::string, int, std::string, std::string, std::string, bool>
        rows[] = {
            {"--check", broken, 1, "",
             "arnreg: check: import would have failed: " + error +
                 "arnreg: check: before the error (line 4) the import would write 1 key and 1 "
                 "value "
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
                 "arnreg: before the error (line 4) the import wrote 1 key and 1 value of '" +
                 broken + "'; they stay written\n",
             "HKCU/Software/C", true},
            {"--check", fresh, 0,
             "check: the import would write 1 key and 1 value from '" + fresh +
                 "' without an error; nothing was written\n",
             "", "HKCU/Software/F", false},
            {"--atomic", fresh, 0, "imported 1 key and 1 value from '" + fresh + "'\n", "",
             "HKCU/Software/F", true},
        };
    for (const auto& [option, file, exitCode, out, err, key, kept] : rows) {
        std::vector<std::string> args = {"import", file};
        if (!option.empty()) {
            args.insert(args.begin() + 1, option);
        }
        const ProgramResult run = Arnreg(args);
        EXPECT_EQ(std::tuple(run.exitCode, run.out, run.err), std::tuple(exitCode, out, err))
            << option;
        EXPECT_EQ(Arnreg({"get", key, "kept"}).out, kept ? "yes\n" : "") << option;
    }
    EXPECT_EQ(Arnreg({"get", "HKCU/Software/C", "after"}).exitCode, 1);
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
    const std::pair<std::vector<std::string>, std::string> cases[] = {
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
    for (const auto& [args, err] : cases) {
        const ProgramResult run = Arnreg(args);
        EXPECT_EQ(std::tuple(run.exitCode, run.err, run.out), std::tuple(2, err, ""));
    }
    const ProgramResult help = Arnreg({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("--allow-lossy"));
    EXPECT_THAT(help.out, HasSubstr("import [--check | --atomic] FILE"));
}

std::string Utf16LeWithBom(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST_F(ArnregProgram, ImportsAWindowsUtf16FileAndExportsItBack) {
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n"
        u"\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n"
        u"\"Name\"=\"Gr\u00fc\u00dfe \U0001F600\"\r\n"
        u"\"Folder\"=\"C:\\\\Program Files\\\\Arn\"\r\n"
        u"\r\n[HKEY_CURRENT_USER\\Software\\Arn\\Axis]\r\n"
        u"\"Units\"=\"mm\"\r\n";
    const std::string utf8 =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n"
        "\"Name\"=\"Gr\xC3\xBC\xC3\x9F"
        "e \xF0\x9F\x98\x80\"\r\n"
        "\"Folder\"=\"C:\\\\Program Files\\\\Arn\"\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Arn\\Axis]\r\n"
        "\"Units\"=\"mm\"\r\n";
    const ProgramResult imported = Arnreg({"import", Write("win.reg", Utf16LeWithBom(text))});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(Arnreg({"get", "HKCU/Software/Arn", "Folder"}).out, "C:\\Program Files\\Arn\n");
    EXPECT_EQ(Arnreg({"export", "HKEY_CURRENT_USER\\Software\\Arn"}).out, utf8);
    // Headers repeat the key as the command spelled it, below the root's full name.
    EXPECT_THAT(Arnreg({"export", "hkcu\\software\\arn"}).out,
                HasSubstr("\r\n[HKEY_CURRENT_USER\\software\\arn\\Axis]\r\n"));

    // The exported file loads again, here with Unix line ends and a UTF-8 mark.
    std::string unix = "\xEF\xBB\xBF" + utf8;
    std::erase(unix, '\r');
    ASSERT_EQ(Arnreg({"delete", "HKCU\\Software\\Arn"}).exitCode, 0);
    ASSERT_EQ(Arnreg({"import", Write("unix.reg", unix)}).exitCode, 0);
    EXPECT_EQ(Arnreg({"export", "HKCU\\Software\\Arn"}).out, utf8);
}

TEST_F(ArnregProgram, ReadsWritesListsAndDeletes) {
    ASSERT_EQ(Arnreg({"set", "HKCU\\App", "Title", "Main axis"}).exitCode, 0);
    ASSERT_EQ(Arnreg({"set", "--dword", "HKCU\\App", "Count", "-3"}).exitCode, 0);
    ASSERT_EQ(Arnreg({"set", "HKCU\\App\\Sub\\Deep", "x", "1"}).exitCode, 0);
    EXPECT_EQ(Arnreg({"get", "HKCU\\App", "Count"}).out, "-3\n");
    EXPECT_EQ(Failure({"get", "HKCU/App"}), "1 arnreg: no default value in HKCU/App\n");
    ASSERT_EQ(Arnreg({"set", "HKCU/App", "", "the default"}).exitCode, 0);
    EXPECT_EQ(Arnreg({"get", "HKCU/App"}).out, "the default\n");
    // Control characters come out escaped, never raw to the terminal.
    ASSERT_EQ(Arnreg({"set", "HKCU/App", "tab\there", "a\nb\x1b[2J\x7f\r"}).exitCode, 0);
    EXPECT_EQ(Arnreg({"get", "HKCU/App", "tab\there"}).out, "a\\nb\\x1b[2J\\x7f\\r\n");
    EXPECT_EQ(Arnreg({"list", "HKCU\\app"}).out,
              "Sub\\\nTitle = Main axis\nCount = -3  (DWORD)\n(Default) = the default\n"
              "tab\\there = a\\nb\\x1b[2J\\x7f\\r\n");

    ASSERT_EQ(Arnreg({"delete", "HKCU\\App", "title"}).exitCode, 0);
    const std::string noTitle = "1 arnreg: no value 'Title' in HKCU\\App\n";
    EXPECT_EQ(Failure({"get", "HKCU\\App", "Title"}), noTitle);
    EXPECT_EQ(Failure({"delete", "HKCU\\App", "Title"}), noTitle);
    ASSERT_EQ(Arnreg({"delete", "HKCU\\App"}).exitCode, 0);
    EXPECT_EQ(Failure({"list", "HKCU\\App"}), "1 arnreg: no such key: HKCU\\App\n");
    EXPECT_EQ(Failure({"delete", "HKCU"}), "1 arnreg: a root key cannot be deleted\n");
    EXPECT_THAT(Failure({"import", (m_dir / "absent.reg").string()}),
                testing::StartsWith("1 arnreg: cannot read '" + (m_dir / "absent.reg").string()));
}

// The warnings' texts are the checks' own; here the program prints them, before it loads.
TEST_F(ArnregProgram, ImportWarnsOfLinesOfOtherToolsUnlessQuiet) {
    const std::string accepted =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n\"Count\"=dword:0000002a\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Arn]\r\n";
    const std::string warning =
        "arnreg: warning: line 3: dword value \"Count\" stored as the string \"word:0000002\"\n";
    const std::string failure =
        "arnreg: import failed: error 5 from ArnAbsPosn.cRegistry: Invalid procedure call or "
        "argument\n";
    // Registry editors write UTF-16. The key that line 5 opens again counts once.
    const std::string acceptedFile =
        Write("accepted.reg", Utf16LeWithBom(std::u16string(accepted.begin(), accepted.end())));
    const std::string refusedFile =
        Write("refused.reg", accepted + "\"Stale\"=-\r\n\"Later\"=\"never\"\r\n");
    const std::string refusal =
        "arnreg: warning: line 6: deletion of value \"Stale\" ends the load: refused with error "
        "5 from ArnAbsPosn.cRegistry: Invalid procedure call or argument\n" +
        failure;
    const std::string kept =
        "arnreg: before the error (line 6) the import wrote 1 key and 1 value of '" + refusedFile +
        "'; they stay written\n";
    // A short root opens no key, so the hint comes before the failure it causes.
    const std::string shortRoot =
        Write("short.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\Software\\D]\r\n\"x\"=\"1\"\r\n");
    // --quiet and -q leave the warnings out, never the failure.
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
        {{"import", acceptedFile}, 0, warning},
        {{"--quiet", "import", acceptedFile}, 0, ""},
        {{"import", refusedFile}, 1, warning + refusal + kept},
        {{"import", "-q", refusedFile}, 1, failure + kept},
        {{"import", shortRoot},
         1,
         "arnreg: hint: line 2: the root \"HKCU\" is not known to registry text, which opens no "
         "key "
         "after it; files need the full root names, such as HKEY_CURRENT_USER\n"
         "arnreg: import failed: error 0x80040002 from CRegistry:WriteValue: No key is currently "
         "open.\narnreg: before the error (line 3) the import wrote 0 keys and 0 values of '" +
             shortRoot + "'; they stay written\n"},
    };
    for (const auto& [args, exitCode, err] : rows) {
        const ProgramResult run = Arnreg(args);
        EXPECT_EQ(std::pair(run.exitCode, run.err), std::pair(exitCode, err)) << args[1];
    }
    EXPECT_EQ(Arnreg({"import", acceptedFile}).out,
              "imported 1 key and 1 value from '" + acceptedFile + "'\n");
    EXPECT_EQ(Arnreg({"get", "HKCU\\Software\\Arn", "Later"}).exitCode, 1);
}

TEST_F(ArnregProgram, FindsItsDatabaseInTheUsersDataFolderAndKeepsItPrivate) {
    std::map<std::string, std::optional<std::string>> env{
        {"ARN_REGISTRY_DB", std::nullopt}, {"XDG_DATA_HOME", (m_dir / "xdg").string()}};
    const auto run = [&](std::vector<std::string> args) {
        return RunProgram(ARN_ARNREG_PATH, args, env);
    };
    ASSERT_EQ(run({"set", "HKCU\\A", "v", "1"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "xdg" / "arnabsposn" / "registry.db"));

    const ScopedUmask scoped(022);
    const std::filesystem::path home = m_dir / "home";
    ASSERT_TRUE(std::filesystem::create_directory(home));
    ASSERT_EQ(chmod(home.c_str(), 0755), 0);
    env["XDG_DATA_HOME"] = std::nullopt;
    env["HOME"] = home.string();
    ASSERT_EQ(run({"set", "HKCU\\A", "v", "1"}).exitCode, 0);
    const std::filesystem::path database = home / ".local" / "share" / "arnabsposn" / "registry.db";
    EXPECT_EQ((std::vector<int>{PermissionsOf(database), PermissionsOf(database.parent_path()),
                                PermissionsOf(home / ".local" / "share"),
                                PermissionsOf(home / ".local"), PermissionsOf(home)}),
              (std::vector<int>{0600, 0700, 0700, 0700, 0755}));
}

}  // namespace
}  // namespace arn::test
