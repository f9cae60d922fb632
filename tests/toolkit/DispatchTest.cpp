#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/GenericObject.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Line.h"
#include "toolkit/Picture.h"
#include "toolkit/SSCheck.h"
#include "toolkit/Shape.h"

namespace arn {
namespace {

// Runs f and returns the error it raised; fails the test when it raised none.
template <class F>
ArnError RaisedBy(F f) {
    try {
        f();
    } catch (const ArnError& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return ArnError(0, "", "");
}

TEST(Dispatch, ReadsAndWritesDeclaredPropertiesByName) {
    Label label("lbl");
    int changes = 0;
    std::string last;
    auto c = label.PropertyChanged.connect([&](std::string_view p) {
        ++changes;
        last = p;
    });

    label.SetProperty("Caption", Variant(std::string(":8000:Inputs")));
    EXPECT_EQ(label.get_Caption(), ":8000:Inputs");
    EXPECT_EQ(VariantToString(label.GetProperty("caption")), ":8000:Inputs");  // any case
    EXPECT_EQ(last, "Caption");
    label.SetProperty("ToolTipText", Variant(std::string("tip")));
    label.SetProperty("Left", Variant(std::string("120")));
    label.SetProperty("Visible", Variant(0));
    EXPECT_EQ(label.get_ToolTipText(), "tip");
    EXPECT_EQ(label.get_Left(), 120);
    EXPECT_FALSE(label.get_Visible());
    EXPECT_EQ(changes, 4);

    // Writing what is already there announces nothing.
    label.SetProperty("Caption", Variant(std::string(":8000:Inputs")));
    label.put_Left(120);
    EXPECT_EQ(changes, 4);

    EXPECT_EQ(VariantToString(label.GetProperty("Name")), "lbl");
}

TEST(Dispatch, MissingPropertiesRaiseErrorsNamingThem) {
    Label label("lbl");
    ArnError e = RaisedBy([&] { label.GetProperty("Text"); });
    EXPECT_EQ(e.number(), 438);
    EXPECT_NE(e.description().find("Text"), std::string::npos);
    EXPECT_EQ(e.source(), "Label");
    EXPECT_EQ(RaisedBy([&] { label.SetProperty("UserDescription", Variant(1)); }).number(), 438);
    EXPECT_FALSE(label.HasProperty("Text"));
    EXPECT_TRUE(label.HasProperty("caption"));
    EXPECT_EQ(RaisedBy([&] { label.Elements(); }).number(), 451);  // no collection

    EXPECT_EQ(RaisedBy([&] { label.SetProperty("Name", Variant(std::string("x"))); }).number(),
              383);
    EXPECT_EQ(RaisedBy([&] { label.GetProperty("Caption", 0); }).number(), 450);
    EXPECT_EQ(RaisedBy([&] { label.SetProperty("Alignment", Variant(7)); }).number(), 380);
    EXPECT_EQ(RaisedBy([&] { label.SetProperty("Left", Variant(std::string("left"))); }).number(),
              13);
    EXPECT_EQ(label.get_Left(), 0);  // a failed write leaves the property as it was

    // Passive kinds lack what they do not draw.
    Line line("Line");
    Shape shape("warnBox");
    EXPECT_EQ(RaisedBy([&] { line.GetProperty("ToolTipText"); }).number(), 438);
    EXPECT_EQ(RaisedBy([&] { line.GetProperty("Caption"); }).number(), 438);
    EXPECT_EQ(RaisedBy([&] { shape.SetProperty("Enabled", Variant(true)); }).number(), 438);
    line.SetProperty("X2", Variant(300));
    EXPECT_EQ(line.get_X2(), 300);
}

TEST(Dispatch, CheckPictureAndStateGoThroughByName) {
    SSCheck check("inCheck", 1);
    auto picture = Picture::Create(501, 1, 1, {0, 0, 0, 255});
    check.SetProperty("CheckPicture", Variant(std::shared_ptr<Dispatch>(picture)));
    EXPECT_EQ(VariantToObject(check.GetProperty("CheckPicture")), picture);
    check.SetProperty("CheckValue", Variant(-1));
    EXPECT_TRUE(check.get_CheckValue());
    EXPECT_EQ(VariantToLong(check.GetProperty("Index")), 1);

    // An object of another kind is no picture.
    auto other = GenericObject::Create("Font");
    EXPECT_EQ(RaisedBy([&] {
                  check.SetProperty("CheckPicture", Variant(std::shared_ptr<Dispatch>(other)));
              }).number(),
              13);
    EXPECT_EQ(check.get_CheckPicture(), picture);
    EXPECT_EQ(RaisedBy([] { Picture::Create(1, 2, 2, {0, 0, 0}); }).number(), 380);

    // An image's symbol goes by its name; a name it does not know changes nothing.
    Image image("warnTriangle", 0);
    image.SetProperty("Symbol", Variant(std::string("Caution")));
    EXPECT_EQ(image.get_Symbol(), ImageSymbol::Caution);
    image.put_Symbol(ImageSymbol::Warning);
    EXPECT_EQ(VariantToString(image.GetProperty("Symbol")), "warning");
    EXPECT_EQ(RaisedBy([&] { image.SetProperty("Symbol", Variant(std::string("stop"))); }).number(),
              380);
    EXPECT_EQ(image.get_Symbol(), ImageSymbol::Warning);
}

}  // namespace
}  // namespace arn
