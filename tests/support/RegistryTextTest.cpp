#include <gtest/gtest.h>

#include "core/ArnError.h"
#include "core/RaisedError.h"
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

// "<number> <source>: <description>" of the error LoadRegistry raises for image, or "none".
std::string LoadError(const std::string& image, CRegistry* loader = nullptr) {
    CRegistry own;
    return RaisedError([&] { (loader != nullptr ? *loader : own).LoadRegistry(image); });
}

using RegistryText = RegistryStoreTest;

TEST_P(RegistryText, SavesValuesBeforeSubkeysDepthFirstAndLoadsItBack) {
    Write("Soft\\App", "Path", "C:\\dir\\file");
    Write("Soft\\App", "Quote", "say \"hi\"");
    Write("Soft\\App\\Zed", "z", "1");
    Write("Soft\\App\\alpha\\inner", "k", "v");
    Write("Soft\\App\\alpha\\inner", "two", "\\\\server");
    CRegistry saver;
    Open(saver, "Soft\\App");
    const std::string image = saver.SaveRegistry();
    EXPECT_EQ(image, kSig +
                         "\r\n[HKEY_CURRENT_USER\\Soft\\App]\r\n"
                         "\"Path\"=\"C:\\\\dir\\\\file\"\r\n"
                         "\"Quote\"=\"say \"hi\"\"\r\n"
                         "\r\n[HKEY_CURRENT_USER\\Soft\\App\\alpha]\r\n"
                         "\r\n[HKEY_CURRENT_USER\\Soft\\App\\alpha\\inner]\r\n"
                         "\"k\"=\"v\"\r\n"
                         "\"two\"=\"\\\\\\\\server\"\r\n"
                         "\r\n[HKEY_CURRENT_USER\\Soft\\App\\Zed]\r\n"
                         "\"z\"=\"1\"\r\n");
    Write("Soft\\App\\alpha\\inner", "two", "");
    CRegistry().LoadRegistry(image);
    EXPECT_EQ(Read("Soft\\App\\alpha\\inner", "two"), "\\\\server");
    CRegistry reg;
    Open(reg, "Soft\\App\\Zed");
    reg.DeleteValue("z");
    EXPECT_EQ(reg.SaveRegistry(), kSig + "\r\n[HKEY_CURRENT_USER\\Soft\\App\\Zed]\r\n");
    reg.CloseKey();
    EXPECT_THROW(reg.SaveRegistry(), ArnError);
}

TEST_P(RegistryText, LoadRejectsMalformedImages) {
    const std::string key = kSig + "\r\n[HKEY_CURRENT_USER\\K]\r\n";
    const struct {
        std::string image;
        int32_t offset;
        std::string description;
    } rows[] = {
        {"", 3, "Format Error: too short"},
        {kSig, 3, "Format Error: too short"},
        {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\X]", 4, "Format Error: signature missing"},
        {"Windows Registry Editor Version 5.00 \r\n\r\n", 4, "Format Error: signature missing"},
        {kSig + "\r\n; note\r\n[HKEY_CURRENT_USER]\r\n", 6,
         "Format Error: registry section formatting.  Line 3=>'[HKEY_CURRENT_USER]'"},
        {kSig + "\r\n[\\Key]", 6, "Format Error: registry section formatting.  Line 2=>'[\\Key]'"},
        {kSig + "\r\n[A\\Key]", 6,
         "Format Error: registry section formatting.  Line 2=>'[A\\Key]'"},
        {key + "\"\"=\"default\"", 5, "Format Error: no equal signs.  Line 3=>'\"\"=\"default\"'"},
        {key + "\"lonely\"", 5, "Format Error: no equal signs.  Line 3=>'\"lonely\"'"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LoadError(row.image), std::to_string(vbObjectError + row.offset) +
                                            " CRegistry::LoadRegistry: " + row.description);
    }
    // Lines too short to hold their brackets or quotes.
    EXPECT_EQ(LoadError(kSig + "\r\n[").substr(0, 2), "5 ");
    EXPECT_EQ(LoadError(key + "\"ab\"=").substr(0, 2), "5 ");
    EXPECT_EQ(LoadError(key + "\"ab\"=\"\""), "none");
    EXPECT_EQ(Read("K", "ab"), "");
}

// A header straight after the signature is never read, so no key is open for its values; an
// unknown root falls back to the loader's own.
TEST_P(RegistryText, ValuesNeedAKeyOpenedByAHeaderOrTheLoader) {
    const std::string noKey =
        std::to_string(vbObjectError + 2) + " CRegistry:WriteValue: No key is currently open.";
    EXPECT_EQ(LoadError(kSig + "[HKEY_CURRENT_USER\\Skipped]\r\n\"a\"=\"b\""), noKey);
    EXPECT_EQ(Read("Skipped", "a"), "<missing>");

    Write("Base", "x", "1");
    CRegistry loader;
    Open(loader, "Base");
    EXPECT_EQ(LoadError(kSig + "\r\n[HKCU\\Target]\r\n\"a\"=\"b\"", &loader), "none");
    EXPECT_EQ(Read("Target", "a"), "b");
    EXPECT_EQ(LoadError(kSig + "\r\n[HKCU\\Other]\r\n\"a\"=\"b\""), noKey);
}

INSTANTIATE_TEST_SUITE_P(Stores, RegistryText, RegistryKinds(), StoreName);

}  // namespace
}  // namespace arn::test
