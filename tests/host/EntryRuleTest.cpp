#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/ArnError.h"
#include "host/EntryRule.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Number.h"
#include "host/values/NumberText.h"
#include "host/values/Value.h"

#include "host/EntryCases.h"

namespace arn {
namespace {

TEST(EntryRule, TakesPlainWholeCountsInRangeAndSaysWhatToTypeInstead) {
    const EntryRule counts = EntryRule::For(247, "Position 1", "counts");
    for (const auto& c : test::PositionOneEntries()) {
        SCOPED_TRACE(c.typed);
        const EntryCheck check = counts.Check(c.typed);
        EXPECT_EQ(check.number, c.written);
        EXPECT_EQ(check.refusal, c.refusal);
    }
    EXPECT_EQ(counts.Check("  ").refusal,
              "Position 1 takes a whole number of counts, like 2000; the box is empty");
    EXPECT_EQ(counts.Describe(),
              "Position 1 (parameter 247): whole counts from -2147483648 to 2147483647");

    // In other units a position takes fractions; a speed is whole in any units, with its range.
    const EntryRule mm = EntryRule::For(247, "Position 1", "mm");
    EXPECT_EQ(mm.Check("250.5").number, 250.5);
    EXPECT_EQ(mm.Describe(), "Position 1 (parameter 247): mm from -2147483648 to 2147483647");
    const EntryRule speed = EntryRule::For(159, "Homing Speed", "");
    EXPECT_EQ(speed.Check("0").refusal,
              "Homing Speed takes a whole number from 1 to 1000000; 0 is outside that range");
    EXPECT_EQ(speed.Check("2.5").refusal,
              "Homing Speed takes a whole number, like 3; \"2.5\" has a fraction");
    // A parameter outside the catalogue: any decimal within 32 bits.
    EXPECT_EQ(EntryRule::For(9999, "Spare", "").Check("-0.25").number, -0.25);
}

TEST(NumberText, WholeNumbersInFullAndThousandsGrouped) {
    struct Row {
        double v;
        const char* plain;
        const char* grouped;
    };
    for (const Row r : {Row{-2000000000.0, "-2000000000", "-2,000,000,000"},
                        Row{250.5, "250.5", "251"}, Row{0.1, "0.1", "0"}, Row{-0.0, "0", "0"},
                        Row{1e15, "1000000000000000", "1,000,000,000,000,000"},
                        Row{-2147483648.0, "-2147483648", "-2,147,483,648"}}) {
        EXPECT_EQ(PlainNumber(r.v), r.plain);
        EXPECT_EQ(GroupedWhole(r.v), r.grouped);
    }
}

TEST(ParamEditor, ShowsItsValueInFullWithUnitsAndJudgesEntriesAsItsParameter) {
    auto editor = std::make_shared<ParamEditor>("ParamItems", 5);
    editor->put_Parameter(161);
    EXPECT_EQ(editor->UserCaption(), "Home Offset") << "the catalogue's name while unbound";
    auto value = Value::Create();
    value->put_Name("Home Offset");
    value->get_UnitsInfo()->put_UnitsText("counts");
    editor->putref_ParamObject(value);
    value->get_NumberValue()->SetDouble(-2000000000.0);
    EXPECT_EQ(editor->DisplayText() + " " + editor->UnitsText() + " | " + editor->ToolTip(),
              "-2000000000 counts | Home Offset (parameter 161): whole counts from -2147483648 "
              "to 2147483647");
    EXPECT_EQ(editor->CheckEntry("2000.6").refusal,
              "Home Offset takes a whole number of counts, like 2001; \"2000.6\" has a fraction");
    editor->put_UserUnit("mm");
    EXPECT_EQ(editor->CheckEntry("2000.6").number, 2000.6);
    editor->put_ToolTipText("set by the design");
    EXPECT_EQ(editor->ToolTip(), "set by the design");

    // The design's properties by name.
    editor->SetProperty("UserDescription", Variant(std::string(":8013:1)")));
    editor->SetProperty("Parameter", Variant(std::string("249")));
    EXPECT_EQ(editor->get_UserDescription(), ":8013:1)");
    EXPECT_EQ(VariantToLong(editor->GetProperty("Parameter")), 249);
    EXPECT_THROW(editor->GetProperty("Caption"), ArnError);
    EXPECT_THROW(editor->put_Parameter(-1), ArnError);
    EXPECT_EQ(editor->get_Parameter(), 249);
}

TEST(ParamEditor, FollowsItsBoundValueAndWritesUserEdits) {
    auto editor = std::make_shared<ParamEditor>("ParamItems", 0);
    editor->put_Text("N/A");
    int redraws = 0;
    auto c = editor->PropertyChanged.connect([&](std::string_view p) {
        if (p == "Value") {
            ++redraws;
        }
    });
    EXPECT_EQ(editor->DisplayText(), "N/A");
    EXPECT_FALSE(editor->EditorRect());
    editor->UserEnter(5.0);  // unbound: nowhere to write

    auto first = Value::Create();
    editor->putref_ParamObject(first);
    first->get_NumberValue()->SetDouble(2.5);
    EXPECT_EQ(editor->DisplayText(), "2.5");
    EXPECT_EQ(redraws, 1);
    first->put_ParamNumber(268);  // without a parameter of its own, the value's judges entries
    EXPECT_FALSE(editor->CheckEntry("3").refusal.empty()) << "units are 0 to 2";

    editor->UserEnter(-100);
    EXPECT_EQ(first->get_NumberValue()->GetDouble(), -100.0);
    EXPECT_EQ(redraws, 2);

    // An inactive or disabled editor takes no input, and only an active bound one edits in place.
    EXPECT_TRUE(editor->EditorRect());
    editor->put_Active(false);
    EXPECT_FALSE(editor->EditorRect());
    editor->UserEnter(1);
    editor->put_Active(true);
    editor->put_Enabled(false);
    editor->UserEnter(1);
    EXPECT_EQ(first->get_NumberValue()->GetDouble(), -100.0);

    // Rebinding drops the old value's events; unbinding shows the design text again.
    auto second = Value::Create();
    editor->putref_ParamObject(second);
    first->get_NumberValue()->SetDouble(9);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(editor->DisplayText(), "0");
    editor->putref_ParamObject(nullptr);
    second->get_NumberValue()->SetDouble(9);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(editor->DisplayText(), "N/A");
}

}  // namespace
}  // namespace arn
