#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/SubPanelSpy.h"
#include "host/Net.h"
#include "host/Node.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ArnHomingCtl.h"
#include "host/values/Field.h"

namespace arn {
namespace {

class StubNet : public Net {
  public:
    std::shared_ptr<AppEvents> get_AppEvents() override { return nullptr; }
    std::shared_ptr<DriveEvents> get_DriveEvents() override { return nullptr; }
    std::shared_ptr<NetSupervisor> get_NetSupervisor() override { return nullptr; }
    std::shared_ptr<NetOptions> get_Options() override { return nullptr; }
};

class StubNode : public Node {
  public:
    bool ParamExists(int32_t) override { return false; }
    std::shared_ptr<Value> Param(int32_t) override { return nullptr; }
    bool QueryState() override { return false; }
};

TEST(SubPanel, AttachHoldsWhatItWasGivenUntilReleaseAndAFailedAttachHoldsNothing) {
    auto homing = std::make_shared<ArnHomingCtl>("HomingCtl");
    auto net = std::make_shared<StubNet>();
    auto node = std::make_shared<StubNode>();
    auto app = std::make_shared<int>(7);
    std::vector<std::string> calls;
    auto c1 = homing->AttachCalled.connect(
        [&] { calls.push_back("attach " + homing->get_RegName() + "/" + homing->get_RegSect()); });
    auto c2 = homing->ReleaseCalled.connect([&] { calls.push_back("release"); });
    std::shared_ptr<UIuserControl> ui = homing->get_UIref();
    const auto held = [&] {
        return std::tuple(homing->AttachedNet() == net, homing->AttachedNode() == node,
                          homing->AttachedAppObj() == app);
    };
    ui->AttachControl(net, node, app, "Motor1", "Setup");
    EXPECT_EQ(held(), std::tuple(true, true, true));
    ui->ReleaseControl();
    EXPECT_EQ(held(), std::tuple(false, false, false));
    ui->ReleaseControl();  // raised without an attachment as well
    EXPECT_EQ(calls, (std::vector<std::string>{"attach Motor1/Setup", "release", "release"}));

    test::SubPanelSpy spy(*homing);
    spy.FailNextAttach("drive gone");
    EXPECT_THROW(ui->AttachControl(net, node, app, "", ""), ArnError);
    EXPECT_EQ(homing->AttachedNet(), nullptr);
    EXPECT_EQ(calls.size(), 3u);

    // A disabled sub-panel asks for no setup window.
    int requests = 0;
    auto c3 = homing->SetupRequested.connect([&] { ++requests; });
    homing->RequestSetup();
    homing->put_Enabled(false);
    homing->RequestSetup();
    EXPECT_EQ(requests, 1);
}

TEST(ArnFieldLED, LitWhileItsFieldIsNonZero) {
    auto led = std::make_shared<ArnFieldLED>("fldStatusLED", 1);
    led->SetProperty("fieldkey", Variant(std::string("InA")));
    led->put_LEDOnColor(0xFFB900);
    EXPECT_EQ(led->get_fieldkey(), "InA");

    std::vector<std::string> changes;
    auto c = led->PropertyChanged.connect([&](std::string_view p) { changes.emplace_back(p); });
    auto field = Field::Create("InA", 0, 2);
    led->putref_LEDField(field);
    field->put_Value(2);
    EXPECT_TRUE(led->IsLit());
    EXPECT_EQ(led->CurrentColor(), 0xFFB900);
    field->put_Value(0);
    EXPECT_FALSE(led->IsLit());
    EXPECT_EQ(changes, (std::vector<std::string>{"LEDField", "Lit", "Lit"}));

    led->putref_LEDField(nullptr);
    field->put_Value(1);
    EXPECT_FALSE(led->IsLit());
    EXPECT_EQ(changes.size(), 4u);  // the unbinding, not the later write
}

}  // namespace
}  // namespace arn
