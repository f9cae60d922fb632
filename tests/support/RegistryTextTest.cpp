#include <gtest/gtest.h>

#include "core/ArnError.h"
#include "fakes/RegistryTestSupport.h"
#include "support/CRegistry.h"

namespace arn::test {
namespace {

const std::string kSig = "Windows Registry Editor Version 5.00\r\n";

void Write(const std::string& path, const std::string& name, const std::string& value) {
    CRegistry reg;
    Open(reg, path, true);
    reg.WriteValue(name, value);
}

std::string Save(int32_t root, const std::string& path) {
    CRegistry reg;
    Open(reg, path, false, root);
    return reg.SaveRegistry();
}

std::string Read(const std::string& path, const std::string& name) {
    CRegistry reg;
    Open(reg, path);
    return reg.ReadValue(name, "<missing>");
}

// The error LoadRegistry raises for `image`, or number 0 when it raises none.
ArnError LoadError(const std::string& image, CRegistry* loader = nullptr) {
    CRegistry own;
    try {
        (loader != nullptr ? *loader : own).LoadRegistry(image);
    } catch (const ArnError& e) {
        return e;
    }
    return ArnError(0, "", "");
}

void BuildTree() {
    Write("Soft\\App", "Path", "C:\\dir\\file");
    Write("Soft\\App", "Quote", "say \"hi\"");
    Write("Soft\\App\\Zed", "z", "1");
    Write("Soft\\App\\alpha\\inner", "k", "v");
    Write("Soft\\App\\alpha\\inner", "two", "\\\\server");
}

using RegistryText = RegistryStoreTest;

TEST_P(RegistryText, SavesValuesBeforeSubkeysDepthFirst) {
    BuildTree();
    EXPECT_EQ(Save(HKEY_CURRENT_USER, "Soft\\App"),
              kSig +
                  "\r\n[HKEY_CURRENT_USER\\Soft\\App]\r\n"
                  "\"Path\"=\"C:\\\\dir\\\\file\"\r\n"
                  "\"Quote\"=\"say \"hi\"\"\r\n"
                  "\r\n[HKEY_CURRENT_USER\\Soft\\App\\alpha]\r\n"
                  "\r\n[HKEY_CURRENT_USER\\Soft\\App\\alpha\\inner]\r\n"
                  "\"k\"=\"v\"\r\n"
                  "\"two\"=\"\\\\\\\\server\"\r\n"
                  "\r\n[HKEY_CURRENT_USER\\Soft\\App\\Zed]\r\n"
                  "\"z\"=\"1\"\r\n");

    Write("Empty", "x", "1");
    CRegistry reg;
    Open(reg, "Empty");
    reg.DeleteValue("x");
    EXPECT_EQ(reg.SaveRegistry(), kSig + "\r\n[HKEY_CURRENT_USER\\Empty]\r\n");
    reg.CloseKey();
    EXPECT_THROW(reg.SaveRegistry(), ArnError);
}

TEST_P(RegistryText, SaveAndLoadRoundTrip) {
    BuildTree();
    Write("Soft\\App\\alpha", "", "default value");
    const std::string saved = Save(HKEY_CURRENT_USER, "Soft\\App");
    // The default value's line has its equal sign at position 3 and cannot be loaded back.
    EXPECT_NE(saved.find("\r\n\"\"=\"default value\"\r\n"), std::string::npos);
    CRegistry alpha;
    Open(alpha, "Soft\\App\\alpha");
    alpha.DeleteValue("");
    alpha.CloseKey();
    const std::string image = Save(HKEY_CURRENT_USER, "Soft\\App");

    for (const char* path :
         {"Soft\\App\\alpha\\inner", "Soft\\App\\alpha", "Soft\\App\\Zed", "Soft\\App"}) {
        ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, path), ERROR_SUCCESS) << path;
    }
    CRegistry loader;
    loader.LoadRegistry(image);
    EXPECT_EQ(Read("Soft\\App\\alpha\\inner", "two"), "\\\\server");
    EXPECT_EQ(Save(HKEY_CURRENT_USER, "Soft\\App"), image);
}

TEST_P(RegistryText, LoadRejectsMalformedImages) {
    const auto expect = [](const ArnError& e, int32_t offset, const std::string& description) {
        EXPECT_EQ(e.number(), vbObjectError + offset) << description;
        EXPECT_EQ(e.source(), "CRegistry::LoadRegistry");
        EXPECT_EQ(e.description(), description);
    };
    expect(LoadError(""), 3, "Format Error: too short");
    expect(LoadError(kSig), 3, "Format Error: too short");
    expect(LoadError("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\X]"), 4,
           "Format Error: signature missing");
    expect(LoadError("Windows Registry Editor Version 5.00 \r\n\r\n"), 4,
           "Format Error: signature missing");
    expect(LoadError(kSig + "\r\n; note\r\n[HKEY_CURRENT_USER]\r\n"), 6,
           "Format Error: registry section formatting.  Line 3=>'[HKEY_CURRENT_USER]'");
    expect(LoadError(kSig + "\r\n[\\Key]"), 6,
           "Format Error: registry section formatting.  Line 2=>'[\\Key]'");
    expect(LoadError(kSig + "\r\n[A\\Key]"), 6,
           "Format Error: registry section formatting.  Line 2=>'[A\\Key]'");
    expect(LoadError(kSig + "\r\n[HKEY_CURRENT_USER\\K]\r\n\"\"=\"default\""), 5,
           "Format Error: no equal signs.  Line 3=>'\"\"=\"default\"'");
    expect(LoadError(kSig + "\r\n[HKEY_CURRENT_USER\\K]\r\n\"lonely\""), 5,
           "Format Error: no equal signs.  Line 3=>'\"lonely\"'");

    // Lines too short to hold their brackets or quotes.
    EXPECT_EQ(LoadError(kSig + "\r\n[").number(), 5);
    EXPECT_EQ(LoadError(kSig + "\r\n[HKEY_CURRENT_USER\\K]\r\n\"ab\"=").number(), 5);
    EXPECT_EQ(LoadError(kSig + "\r\n[HKEY_CURRENT_USER\\K]\r\n\"ab\"=\"\"").number(), 0);
    EXPECT_EQ(Read("K", "ab"), "");
}

TEST_P(RegistryText, LoadKeepsWhatItWroteBeforeAnError) {
    const ArnError e = LoadError(kSig + "[HKEY_CURRENT_USER\\Skipped]\r\n\"a\"=\"b\"");
    EXPECT_EQ(e.number(), vbObjectError + 2);
    EXPECT_EQ(e.source(), "CRegistry:WriteValue");
    EXPECT_EQ(e.description(), "No key is currently open.");
    EXPECT_EQ(Read("Skipped", "a"), "<missing>");

    const ArnError late = LoadError(kSig +
                                    "\r\n[HKEY_CURRENT_USER\\Partial]\r\n\"first\"=\"1\"\r\n"
                                    "@=\"ignored\"\r\n\r\n[HKEY_CURRENT_USER\\Partial\\Sub]\r\n"
                                    "\"second\"=\"2\"\r\n\"bad line\r\n\"third\"=\"3\"\r\n");
    EXPECT_EQ(late.number(), vbObjectError + 5);
    EXPECT_EQ(Read("Partial", "first"), "1");
    EXPECT_EQ(Read("Partial\\Sub", "second"), "2");
    EXPECT_EQ(Read("Partial\\Sub", "third"), "<missing>");
}

TEST_P(RegistryText, UnknownRootFallsBackToTheLoadersOwnRoot) {
    Write("Base", "x", "1");
    CRegistry loader;
    Open(loader, "Base");
    EXPECT_EQ(LoadError(kSig + "\r\n[HKCU\\Target]\r\n\"a\"=\"b\"", &loader).number(), 0);
    EXPECT_EQ(Read("Target", "a"), "b");

    // A loader that never opened a key has no root to fall back to.
    EXPECT_EQ(LoadError(kSig + "\r\n[HKCU\\Other]\r\n\"a\"=\"b\"").description(),
              "No key is currently open.");
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryText, RegistryKinds(), StoreName);

}  // namespace
}  // namespace arn::test
