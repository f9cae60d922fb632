#include <gtest/gtest.h>

#include <array>

#include "core/ArnError.h"
#include "core/RaisedError.h"
#include "platform/Resources.h"
#include "toolkit/ResPicture.h"

namespace arn {
namespace {

std::array<uint8_t, 4> Rgba(int32_t id, int x, int y) {
    const auto p = LoadResPicture(id);
    const size_t i = (static_cast<size_t>(y) * p->get_Width() + x) * 4;
    return {p->Pixels()[i], p->Pixels()[i + 1], p->Pixels()[i + 2], p->Pixels()[i + 3]};
}

TEST(CheckBoxIcons, FourDistinctBoxesAndAClearErrorForOthers) {
    for (int32_t id : {500, 501, 503, 504}) {
        EXPECT_EQ(LoadResPicture(id)->get_Handle(), id);
        EXPECT_EQ(LoadResPicture(id)->get_Width(), ResIconSize);
        EXPECT_EQ(Rgba(id, 0, 0)[3], 0);  // transparent around the box
    }
    // (8, 13) lies on the tick, (10, 5) on the box's plain fill.
    EXPECT_EQ(Rgba(500, 8, 13), Rgba(500, 10, 5));
    EXPECT_NE(Rgba(501, 8, 13), Rgba(501, 10, 5));
    EXPECT_NE(Rgba(504, 8, 13), Rgba(504, 10, 5));
    // Disabled boxes are greyed: another frame, fill and tick.
    EXPECT_NE(Rgba(503, 2, 2), Rgba(500, 2, 2));
    EXPECT_NE(Rgba(503, 10, 5), Rgba(500, 10, 5));
    EXPECT_NE(Rgba(504, 8, 13), Rgba(501, 8, 13));

    EXPECT_EQ(test::RaisedError([] { LoadResPicture(502); }),
              "326 ArnAbsPosn: Resource with identifier '502' not found");
}

}  // namespace
}  // namespace arn
