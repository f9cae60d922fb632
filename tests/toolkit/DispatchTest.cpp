#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/RaisedError.h"
#include "fakes/ErrorNumber.h"
#include "fakes/GenericObject.h"
#include "fakes/RecordingCanvas.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Line.h"
#include "toolkit/Picture.h"
#include "toolkit/SSCheck.h"
#include "toolkit/SSCommand.h"
#include "toolkit/Shape.h"
#include "toolkit/SurfacePainter.h"
#include "toolkit/UserControl.h"

namespace arn {
namespace {

using test::ErrorNumber;

TEST(Dispatch, DeclaredPropertiesByNameAndErrorsNamingTheMissingOnes) {
    Label label("lbl");
    std::vector<std::string> changes;
    auto c = label.PropertyChanged.connect([&](std::string_view p) { changes.emplace_back(p); });
    label.SetProperty("caption", Variant(std::string(":8000:Inputs")));  // any case
    label.SetProperty("Left", Variant(std::string("120")));
    label.SetProperty("Visible", Variant(0));
    label.SetProperty("BackStyle", Variant(0));
    label.SetProperty("Caption", Variant(std::string(":8000:Inputs")));  // unchanged: no event
    EXPECT_EQ(VariantToString(label.GetProperty("CAPTION")), ":8000:Inputs");
    EXPECT_EQ(label.get_Left(), 120);
    EXPECT_FALSE(label.get_Visible());
    EXPECT_EQ(changes, (std::vector<std::string>{"Caption", "Left", "Visible", "BackStyle"}));
    EXPECT_EQ(VariantToString(label.GetProperty("Name")), "lbl");

    EXPECT_EQ(test::RaisedError([&] { label.GetProperty("Text"); }),
              "438 Label: Object doesn't support this property or method: Text");
    EXPECT_FALSE(label.HasProperty("Text"));
    EXPECT_TRUE(label.HasProperty("caption"));
    // Passive kinds lack what they do not draw.
    Line line("Line");
    Shape shape("warnBox");
    line.SetProperty("X2", Variant(300));
    EXPECT_EQ(line.get_X2(), 300);
    const std::pair<std::function<void()>, int> refusals[] = {
        {[&] { label.SetProperty("UserDescription", Variant(1)); }, 438},
        {[&] { label.Elements(); }, 451},  // no collection
        {[&] { label.SetProperty("Name", Variant(std::string("x"))); }, 383},
        {[&] { label.GetProperty("Caption", 0); }, 450},
        {[&] { label.SetProperty("Alignment", Variant(7)); }, 380},
        {[&] { label.SetProperty("Left", Variant(std::string("left"))); }, 13},
        {[&] { line.GetProperty("ToolTipText"); }, 438},
        {[&] { shape.SetProperty("Enabled", Variant(true)); }, 438},
    };
    for (const auto& [call, number] : refusals) {
        EXPECT_EQ(ErrorNumber(call), number);
    }
    EXPECT_EQ(label.get_Left(), 120);  // a failed write leaves the property as it was
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
    EXPECT_EQ(ErrorNumber([&] {
                  check.SetProperty("CheckPicture", Variant(std::shared_ptr<Dispatch>(other)));
              }),
              13);
    EXPECT_EQ(check.get_CheckPicture(), picture);
    EXPECT_EQ(ErrorNumber([] { Picture::Create(1, 2, 2, {0, 0, 0}); }), 380);

    // An image's symbol goes by its name; a name it does not know changes nothing.
    Image image("warnTriangle", 0);
    image.SetProperty("Symbol", Variant(std::string("Caution")));
    EXPECT_EQ(image.get_Symbol(), ImageSymbol::Caution);
    image.put_Symbol(ImageSymbol::Warning);
    EXPECT_EQ(VariantToString(image.GetProperty("Symbol")), "warning");
    EXPECT_EQ(ErrorNumber([&] { image.SetProperty("Symbol", Variant(std::string("stop"))); }), 380);
    EXPECT_EQ(image.get_Symbol(), ImageSymbol::Warning);

    // An image with a picture draws the picture, stretched and smoothed over the image when
    // asked; a button's icon keeps its pixels, square, centred in the height of the face.
    UserControl surface;
    surface.Resize(3000, 3000);
    auto shown = surface.Add(std::make_shared<Image>("img"));
    shown->Move(150, 300, 600, 900);
    shown->putref_Picture(picture);
    shown->put_Stretch(true);
    auto button = surface.Add(std::make_shared<SSCommand>("cmd"));
    button->Move(1000, 300, 1500, 900);
    button->putref_Picture(picture);
    test::RecordingCanvas canvas;
    DisplayList list;
    SurfacePainter(surface, canvas).Paint(list, nullptr, nullptr, std::nullopt);
    list.Replay(canvas);
    const auto pictures = canvas.All<PictureOp>();
    EXPECT_EQ(pictures.at(0).box, (Rect{150, 300, 600, 900}));
    EXPECT_EQ(pictures.at(1).box, (Rect{1045, 515, 470, 470}));
    EXPECT_TRUE(pictures[0].smooth && !pictures[1].smooth);
}

}  // namespace
}  // namespace arn
