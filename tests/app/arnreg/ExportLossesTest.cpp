#include "app/arnreg/ExportLosses.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/RegistryTestSupport.h"

namespace arn::test {
namespace {

using testing::ElementsAre;
using Loss = ExportLosses::Loss;

class ExportLossesTest : public testing::Test {
  protected:
    ScopedFreshRegistry m_registry;
};

TEST_F(ExportLossesTest, NamesEveryValueTheTextCannotCarryBackDepthFirst) {
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
    // The subkey's losses follow the key's own, as its section follows in the text.
    EXPECT_EQ(losses.Losses().back().key, top + "\\Sub");

    const ExportLosses plain(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software\\Arn\\Sub\\None");
    EXPECT_THAT(plain.Losses(), ElementsAre());
    EXPECT_EQ(ExportLosses::TypeName(REG_QWORD), "REG_QWORD");
    EXPECT_EQ(ExportLosses::TypeName(99), "type 99");
}

}  // namespace
}  // namespace arn::test
