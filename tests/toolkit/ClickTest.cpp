#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/RaisedError.h"

#include "toolkit/CheckBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/ControlGroup.h"
#include "toolkit/Frame.h"
#include "toolkit/SSCheck.h"
#include "toolkit/SSCommand.h"

namespace arn {
namespace {

TEST(CheckBoxClick, RaisedOnEveryChangeOfValueAndOnEchoesInsideTheHandler) {
    auto box = std::make_shared<CheckBox>("teachingCheck");
    std::vector<int16_t> seen;  // the value the handler reads during Click
    auto c = box->Click.connect([&] { seen.push_back(box->get_Value()); });
    // Unchanged writes raise nothing; the user toggles unchecked <-> checked, grayed -> unchecked.
    for (int16_t v : {0, 1, 1, 2, 0}) {
        box->put_Value(v);
    }
    box->UserClick();
    box->UserClick();
    box->put_Value(2);
    box->UserClick();
    EXPECT_EQ(seen, (std::vector<int16_t>{1, 2, 0, 1, 0, 2, 0}));
    EXPECT_THROW(box->put_Value(3), ArnError);
    EXPECT_EQ(box->get_Value(), 0);

    // A handler that writes the box again (the echo of a field update) sees the nested change
    // as one more click, and an echo of the same value as none.
    c = box->Click.connect([&] {
        seen.push_back(box->get_Value());
        box->put_Value(box->get_Value());
        if (seen.size() == 1) {
            box->put_Value(0);
        }
    });
    seen.clear();
    box->put_Value(1);
    EXPECT_EQ(seen, (std::vector<int16_t>{1, 0}));
}

TEST(ButtonClick, UserActionsNeedAShownEnabledControlAndCarryTheNewState) {
    auto frame = std::make_shared<Frame>("EnclosingFrame");
    auto cmd = std::make_shared<SSCommand>("hardStopCmd");
    auto button = std::make_shared<CommandButton>("teachingCmd");
    auto check = std::make_shared<SSCheck>("inCheck", 0);
    frame->AddChild(cmd);
    frame->AddChild(button);
    frame->AddChild(check);
    int cmdClicks = 0;
    int buttonClicks = 0;
    std::vector<int16_t> values;
    std::vector<std::string> props;
    auto c1 = cmd->Click.connect([&] { ++cmdClicks; });
    auto c2 = button->Click.connect([&] { ++buttonClicks; });
    auto c3 = check->Click.connect([&](int16_t v) { values.push_back(v); });
    auto c4 = check->PropertyChanged.connect([&](std::string_view n) { props.emplace_back(n); });

    cmd->UserClick();
    button->UserClick();
    check->put_CheckValue(false);
    check->put_CheckValue(true);
    check->put_CheckValue(true);
    check->UserClick();
    EXPECT_EQ(values, (std::vector<int16_t>{1, 0}));
    EXPECT_EQ(props, (std::vector<std::string>{"CheckValue", "CheckValue"}));
    cmd->put_Enabled(false);
    cmd->UserClick();
    EXPECT_EQ(cmdClicks, 1);

    // A hidden container hides its content from the user; code still sets the state.
    frame->put_Visible(false);
    button->UserClick();
    check->UserClick();
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_FALSE(check->get_CheckValue());
    // A disabled container does not gate input: its controls are enabled one by one.
    frame->put_Visible(true);
    frame->put_Enabled(false);
    button->UserClick();
    EXPECT_EQ(buttonClicks, 2);
}

// Slots disconnected during a dispatch are the event's own business, tested with it.
TEST(ClickDispatch, AHandlerMayDropTheLastReferenceToTheControlThatRaisedIt) {
    auto owner = std::make_shared<std::shared_ptr<SSCheck>>(std::make_shared<SSCheck>("in", 0));
    std::weak_ptr<SSCheck> watch = *owner;
    bool stillThere = false;
    auto c = (*owner)->Click.connect([&](int16_t) {
        owner->reset();
        stillThere = !watch.expired();
    });
    watch.lock()->UserClick();
    EXPECT_TRUE(stillThere);
    EXPECT_TRUE(watch.expired());
}

TEST(ControlGroup, ElementsByIndexWithHolesAndOneHandlerForAll) {
    ControlGroup<SSCheck> group("ParamItems");
    for (int16_t i : {7, 3, 5, 1, 2}) {
        group.Add(std::make_shared<SSCheck>("ParamItems", i));
    }
    EXPECT_EQ(group.Indices(), (std::vector<int16_t>{1, 2, 3, 5, 7}));
    EXPECT_EQ(group.LBound() * 10 + group.UBound(), 17);
    EXPECT_FALSE(group.Exists(4));
    EXPECT_EQ(test::RaisedError([&] { group(4); }),
              "340 ParamItems: Control array element '4' doesn't exist");
    EXPECT_THROW(group.Add(std::make_shared<SSCheck>("ParamItems", 5)), ArnError);
    EXPECT_THROW(group.Add(std::make_shared<SSCheck>("Other", 6)), ArnError);
    EXPECT_THROW(group.Add(std::make_shared<SSCheck>("ParamItems")), ArnError);
    EXPECT_EQ(group.Count(), 5u);

    // The handler receives the element's index first.
    std::vector<std::pair<int16_t, int16_t>> calls;
    auto connections = group.ConnectEach(
        &SSCheck::Click, [&](int16_t index, int16_t value) { calls.emplace_back(index, value); });
    group(5).UserClick();
    group(1).put_CheckValue(true);
    connections.clear();
    group(5).UserClick();
    EXPECT_EQ(calls, (std::vector<std::pair<int16_t, int16_t>>{{5, 1}, {1, 1}}));
}

}  // namespace
}  // namespace arn
