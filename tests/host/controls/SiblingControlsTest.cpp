#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/SubPanelSpy.h"
#include "host/Net.h"
#include "host/Node.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ArnHomingCtl.h"
#include "host/controls/ArnJerkPanelCtl.h"
#include "host/controls/ArnTrqLimitSetupCtl.h"
#include "host/controls/ParamEditor.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "toolkit/Form.h"

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

TEST(SubPanel, RecordsAttachAndReleaseThroughItsFrameworkInterface) {
    auto homing = std::make_shared<ArnHomingCtl>("HomingCtl");
    auto net = std::make_shared<StubNet>();
    auto node = std::make_shared<StubNode>();
    auto app = std::make_shared<int>(7);
    test::SubPanelSpy spy(*homing);
    std::vector<std::string> calls;
    auto c1 = homing->AttachCalled.connect([&] { calls.push_back("attach"); });
    auto c2 = homing->ReleaseCalled.connect([&] { calls.push_back("release"); });

    std::shared_ptr<UIuserControl> ui = homing->get_UIref();
    ASSERT_TRUE(ui);
    ui->AttachControl(net, node, app, "Motor1", "Setup");
    EXPECT_EQ(spy.AttachCount(), 1);
    EXPECT_EQ(homing->AttachedNet(), net);
    EXPECT_EQ(homing->AttachedNode(), node);
    EXPECT_EQ(homing->AttachedAppObj(), app);
    EXPECT_EQ(spy.LastRegName(), "Motor1");
    EXPECT_EQ(spy.LastRegSect(), "Setup");

    ui->ReleaseControl();
    EXPECT_EQ(spy.ReleaseCount(), 1);
    EXPECT_EQ(homing->AttachedNode(), nullptr);
    EXPECT_EQ(homing->AttachedNet(), nullptr);
    EXPECT_EQ(homing->AttachedAppObj(), nullptr);
    EXPECT_EQ(spy.LastNode(), node);  // the record, while the caller still holds it

    // The record does not keep a released node alive.
    std::weak_ptr<StubNode> watch = node;
    node.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(spy.LastNode(), nullptr);

    // Release without attachment is counted as well.
    ui->ReleaseControl();
    EXPECT_EQ(calls, (std::vector<std::string>{"attach", "release", "release"}));
    EXPECT_EQ(spy.ReleaseCount(), 2);
}

TEST(SubPanel, AnInjectedAttachFailureRaisesOnceAndRecordsNothing) {
    auto trq = std::make_shared<ArnTrqLimitSetupCtl>("TrqLimitSetupCtl");
    auto net = std::make_shared<StubNet>();
    test::SubPanelSpy trqSpy(*trq);
    trqSpy.FailNextAttach("drive gone");
    try {
        trq->get_UIref()->AttachControl(net, std::make_shared<StubNode>(), nullptr, "", "");
        ADD_FAILURE() << "no error";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.description(), "drive gone");
    }
    EXPECT_EQ(trqSpy.AttachCount(), 0);
    EXPECT_EQ(trq->AttachedNet(), nullptr);
    trq->get_UIref()->AttachControl(net, nullptr, nullptr, "", "");
    EXPECT_EQ(trqSpy.AttachCount(), 1);
    EXPECT_EQ(trq->AttachedNet(), net);
}

TEST(SubPanel, AnswersTheFrameworkQueriesAndAsksForItsWindow) {
    auto homing = std::make_shared<ArnHomingCtl>("HomingCtl");
    auto jerk = std::make_shared<ArnJerkPanelCtl>("JerkPanelCtl");
    auto ui = jerk->get_UIref();
    EXPECT_FALSE(ui->get_VersionStr().empty());
    auto versions = ui->get_ControlVersionList();
    ASSERT_TRUE(versions);
    EXPECT_EQ(versions->Item("ArnJerkPanelCtl"), ui->get_VersionStr());
    auto forms = ui->get_MyForms();
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_FALSE(forms[0]->get_Caption().empty());
    EXPECT_EQ(ui->get_MyForms()[0], forms[0]);  // the same window on every call
    EXPECT_TRUE(homing->get_UIref()->get_MyForms().empty());
    EXPECT_EQ(homing->UserCaption(), homing->get_Caption());

    int requests = 0;
    auto c = homing->SetupRequested.connect([&] { ++requests; });
    homing->RequestSetup();
    homing->put_Enabled(false);
    homing->RequestSetup();
    EXPECT_EQ(requests, 1);
}

TEST(ParamEditor, DesignPropertiesAreReachableByName) {
    ParamEditor editor("ParamItems", 2);
    editor.SetProperty("UserDescription", Variant(std::string(":8013:1)")));
    editor.SetProperty("Parameter", Variant(std::string("249")));
    EXPECT_EQ(editor.get_UserDescription(), ":8013:1)");
    EXPECT_EQ(VariantToLong(editor.GetProperty("Parameter")), 249);
    EXPECT_THROW(editor.GetProperty("Caption"), ArnError);
    EXPECT_THROW(editor.put_Parameter(-1), ArnError);
    EXPECT_EQ(editor.get_Parameter(), 249);
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
    editor->UserEnter(5.0);  // unbound: nowhere to write

    auto first = Value::Create();
    editor->putref_ParamObject(first);
    first->get_NumberValue()->SetDouble(2.5);
    EXPECT_EQ(editor->DisplayText(), "2.5");
    EXPECT_EQ(redraws, 1);

    editor->UserEnter(-100);
    EXPECT_EQ(first->get_NumberValue()->GetDouble(), -100.0);
    EXPECT_EQ(redraws, 2);

    // An inactive or disabled editor takes no input.
    editor->put_Active(false);
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

TEST(ArnFieldLED, LitWhileItsFieldIsNonZero) {
    auto led = std::make_shared<ArnFieldLED>("fldStatusLED", 1);
    led->SetProperty("fieldkey", Variant(std::string("InA")));
    led->put_LEDOnColor(0xFFB900);
    led->put_LEDOffColor(0x797979);
    EXPECT_EQ(led->get_fieldkey(), "InA");
    EXPECT_FALSE(led->IsLit());
    EXPECT_EQ(led->CurrentColor(), 0x797979);

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
