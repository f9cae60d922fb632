// Building values and fields, copying, numbers and caption entries.
#include <gtest/gtest.h>

#include "fakes/ErrorNumber.h"

#include <functional>
#include <string>

#include "core/ArnError.h"
#include "host/values/Value.h"

namespace arn {
namespace {

using test::ErrorNumber;

TEST(ValueLibrary, DefineFieldRefusesTakenNamesAndBadRanges) {
    auto value = Value::Create();
    value->DefineField("Enable Req", 0, 1, "Enable Request");
    EXPECT_EQ(value->Field("Enable Req")->Owner(), value);
    EXPECT_EQ(value->Field("enable req"), nullptr) << "keys compare exactly";

    EXPECT_EQ(ErrorNumber([&] { value->DefineField("Enable Req", 3, 1, ""); }), 457);
    EXPECT_EQ(ErrorNumber([&] { value->DefineField("Wide", 16, 17, ""); }), 5);
    EXPECT_EQ(ErrorNumber([&] { value->DefineField("Empty", 0, 0, ""); }), 5);
    EXPECT_EQ(ErrorNumber([&] { value->DefineField("Neg", -1, 2, ""); }), 5);
    EXPECT_EQ(ErrorNumber([] { (void)Field::Create("X", 31, 2); }), 5);
    EXPECT_EQ(value->get_Fields().Count(), 1u) << "a refused definition adds nothing";
    EXPECT_NO_THROW(value->DefineField("Word", 0, 32, ""));
}

TEST(ValueLibrary, FieldsMaskAndKeepTheSignOfTheWord) {
    auto value = Value::Create();
    value->DefineField("Word", 0, 32, "");
    value->DefineField("Top", 31, 1, "");
    value->DefineField("Low", 0, 8, "");

    value->Field("Word")->put_Value(-1);
    EXPECT_EQ(value->Content(), 4294967295.0);
    EXPECT_EQ(value->Field("Top")->get_Value(), 1);
    EXPECT_EQ(value->Field("Word")->get_Value(), -1);

    value->get_NumberValue()->SetDouble(-2);
    EXPECT_EQ(value->Field("Low")->get_Value(), 0xFE);
    value->Field("Low")->put_Value(0);
    EXPECT_EQ(value->Content(), -256) << "a negative content stays a signed word";

    value->get_NumberValue()->SetDouble(2.5);  // rounds half to even: word 2
    EXPECT_EQ(value->Field("Low")->get_Value(), 2);
    value->get_NumberValue()->SetDouble(1e12);  // no 32-bit word: fields read 0
    EXPECT_EQ(value->Field("Low")->get_Value(), 0);
}

TEST(ValueLibrary, CopyToFillsContentAndSettingsButNotFields) {
    auto source = Value::Create();
    source->put_Name("Accumulated Status");
    source->put_FormatStr("0");
    source->put_ParamNumber(180);
    source->DefineField("Trigger Detected", 2, 1, "");
    source->get_NumberValue()->put_SpeedReference(100);
    source->get_UnitsInfo()->put_UnitsReference(4);
    source->get_UnitsInfo()->put_UnitsText("counts");
    source->get_NumberValue()->SetDouble(4);

    auto copy = Value::Create();
    int contents = 0;
    auto c = copy->ContentChanged.connect([&](const std::shared_ptr<Value>&) { ++contents; });
    EXPECT_TRUE(source->CopyTo(copy));
    EXPECT_EQ(contents, 1);
    EXPECT_EQ(copy->get_NumberValue()->GetDouble(), 4);
    EXPECT_EQ(copy->get_Name(), "Accumulated Status");
    EXPECT_EQ(copy->get_FormatStr(), "0");
    EXPECT_EQ(copy->get_ParamNumber(), 180);
    EXPECT_EQ(copy->get_NumberValue()->get_SpeedReference(), 100);
    EXPECT_EQ(copy->get_UnitsInfo()->get_UnitsReference(), 4);
    std::string quantity;
    std::string units;
    copy->get_UnitsInfo()->GetUnitsText(quantity, units);
    EXPECT_EQ(units, "counts");
    EXPECT_EQ(copy->get_Fields().Count(), 0u);

    // The caller defines the field it wants on the copy, at the source's place.
    copy->DefineField("Trigger Detected", 2, 1, "");
    EXPECT_EQ(copy->Field("Trigger Detected")->get_Value(), 1);

    EXPECT_TRUE(source->CopyTo(copy));
    EXPECT_EQ(contents, 1) << "copying the same content raises nothing";
    EXPECT_EQ(ErrorNumber([&] { source->CopyTo(nullptr); }), 91);
}

TEST(ValueLibrary, NumbersShareTheContentAndDoNotKeepTheValueAlive) {
    auto value = Value::Create();
    auto number = value->get_NumberValue();
    EXPECT_EQ(value->get_NumberValue(), number);
    value->get_UnitsInfo()->SetDouble(12.5);  // the units part writes the same content
    EXPECT_EQ(number->GetDouble(), 12.5);

    value.reset();
    EXPECT_EQ(ErrorNumber([&] { (void)number->GetDouble(); }), 91);
    EXPECT_EQ(ErrorNumber([&] { number->SetDouble(1); }), 91);
}

TEST(ValueLibrary, CaptionEntries) {
    auto field = Field::Create("Trigger Detected", 0, 1);
    field->AddValueCaption(1, "Trigger");
    field->AddValueCaption(0, "Idle");
    field->AddValueCaption(1, "Triggered");
    auto& captions = field->get_ValueCaptions();
    ASSERT_EQ(captions.Count(), 2u);
    auto one = captions.Item("1");
    EXPECT_TRUE(one->get_Active());
    EXPECT_EQ(one->get_CaptionValue(), 1);
    EXPECT_EQ(one->get_CaptionText(), "Triggered");
}

}  // namespace
}  // namespace arn
