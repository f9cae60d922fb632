// Values and fields: building, copying and numbers, and the change-event contract on
// free-standing and backend-bound values.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "fakes/ErrorNumber.h"
#include "host/values/Value.h"

namespace arn {
namespace {

using test::ErrorNumber;

// A drive register seen through a backend: normalises writes to its low 16 bits and fails the
// operation a test names.
class FakeBackend : public ValueBackend {
  public:
    double Read() override { return drive; }
    void Write(double v) override {
        if (rejectWrites) {
            throw ArnError(383, "Fake", "read-only");
        }
        drive = static_cast<double>(static_cast<uint32_t>(v) & 0xFFFFu);
    }
    void Apply() override { ++applies; }
    std::string UnitsText() override { return "mm"; }
    void Check(std::string_view op) override {
        if (op == failing) {
            throw ArnError(440, "Fake", "failed " + std::string(op));
        }
    }

    double drive = 0;
    int applies = 0;
    bool rejectWrites = false;
    std::string failing;
};

// Records every event of a value and of its fields, in order.
struct Spy {
    std::vector<std::string> log;
    std::vector<Connection> connections;

    void watch(const std::shared_ptr<Value>& value) {
        connections.push_back(
            value->ContentChanged.connect([this](const std::shared_ptr<Value>& v) {
                log.push_back("Content " + v->get_Name());
            }));
        connections.push_back(value->ValueChanged.connect(
            [this](const std::shared_ptr<Value>& v) { log.push_back("Value " + v->get_Name()); }));
        for (const auto& [key, field] : value->get_Fields()) {
            connections.push_back(
                field->UpdateView.connect([this](const std::shared_ptr<Field>& f) {
                    log.push_back("View " + f->get_Name());
                }));
        }
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
};

using Log = std::vector<std::string>;

std::shared_ptr<Value> Register(std::shared_ptr<ValueBackend> backend = nullptr) {
    auto value = backend ? Value::Create(backend, 181, "Status") : Value::Create();
    value->put_Name("Status");
    value->DefineField("Low", 0, 4, "low nibble");
    value->DefineField("Flag", 4, 1, "one bit");
    value->DefineField("High", 8, 8, "high byte");
    return value;
}

TEST(ValueEvents, WriteRaisesContentThenValueThenChangedFieldsOnly) {
    auto value = Register();
    Spy spy;
    spy.watch(value);

    value->get_NumberValue()->SetDouble(0x13);  // Low 3, Flag 1, High 0
    EXPECT_EQ(spy.take(), (Log{"Content Status", "Value Status", "View Low", "View Flag"}));

    value->get_NumberValue()->SetDouble(0x13);
    value->Field("Flag")->put_Value(1);
    value->Field("Low")->put_Value(3);
    EXPECT_TRUE(spy.log.empty()) << "rewriting the same content must raise nothing";

    // A value the field cannot hold is refused whole, not masked into a different one.
    for (int32_t bad : {16, -1, 0x13}) {
        EXPECT_EQ(ErrorNumber([&] { value->Field("Low")->put_Value(bad); }), 380) << bad;
    }
    EXPECT_THAT([&] { value->Field("Low")->put_Value(16); },
                testing::ThrowsMessage<ArnError>(testing::HasSubstr("Low takes 0 to 15, not 16")));
    EXPECT_TRUE(spy.log.empty());
    EXPECT_EQ(value->get_NumberValue()->GetDouble(), 0x13);

    value->Field("High")->put_Value(0xAB);
    EXPECT_EQ(spy.take(), (Log{"Content Status", "Value Status", "View High"}));
    EXPECT_EQ(value->get_NumberValue()->GetDouble(), 0xAB13);

    // 0xAB13 + 0.25 rounds to the same word: the content changes, no field does.
    value->get_NumberValue()->SetDouble(0xAB13 + 0.25);
    EXPECT_EQ(spy.take(), (Log{"Content Status", "Value Status"}));
}

TEST(ValueEvents, BoundValuesTakeTheNodesAnswerAndRefreshOnlyOnADifference) {
    auto backend = std::make_shared<FakeBackend>();
    backend->drive = 0x10;
    auto value = Register(backend);
    EXPECT_EQ(value->Field("Flag")->get_Value(), 1) << "content is read at creation";
    Spy spy;
    spy.watch(value);

    value->Refresh();
    EXPECT_TRUE(spy.log.empty());
    backend->drive = 0x0102;  // the drive changed behind the value's back
    EXPECT_EQ(value->Field("High")->get_Value(), 0) << "reads use the held content";
    value->Refresh();
    EXPECT_EQ(spy.take(),
              (Log{"Content Status", "Value Status", "View Low", "View Flag", "View High"}));
    value->Receive(0x0103);  // a node handing over a drive change
    EXPECT_EQ(spy.take(), (Log{"Content Status", "Value Status", "View Low"}));
    value->Receive(0x0103);
    EXPECT_TRUE(spy.log.empty());

    value->get_NumberValue()->SetDouble(0x30005);  // the register keeps 16 bits
    EXPECT_EQ(value->get_NumberValue()->GetDouble(), 5);
    EXPECT_EQ(spy.take(), (Log{"Content Status", "Value Status", "View Low", "View High"}));
    value->get_NumberValue()->SetDouble(0x70005);  // normalises to what it already holds
    EXPECT_TRUE(spy.log.empty());

    value->Field("Flag")->put_Value(1);
    EXPECT_EQ(backend->drive, 0x15);
    value->Field("Flag")->Apply();
    EXPECT_EQ(backend->applies, 1);
    std::string quantity, units;
    value->get_UnitsInfo()->GetUnitsText(quantity, units);
    EXPECT_EQ(quantity + " in " + units, "Status in mm");
}

TEST(ValueEvents, FailingOperationsChangeNothingAndRaiseNothing) {
    auto backend = std::make_shared<FakeBackend>();
    backend->drive = 2;
    auto value = Register(backend);
    Spy spy;
    spy.watch(value);

    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"Number.SetDouble", [&] { value->get_NumberValue()->SetDouble(9); }},
        {"Field.Value.put", [&] { value->get_Fields().Item("Low")->put_Value(9); }},
        {"Number.GetDouble", [&] { (void)value->get_NumberValue()->GetDouble(); }},
        {"Field.Value.get", [&] { (void)value->get_Fields().Item("Low")->get_Value(); }},
        {"Value.Refresh", [&] { value->Refresh(); }},
        {"Value.Field", [&] { (void)value->Field("Low"); }},
        {"Field.Apply", [&] { value->get_Fields().Item("Flag")->Apply(); }},
    };
    backend->drive = 7;  // a Refresh that got through would see a change
    for (const auto& [op, call] : calls) {
        backend->failing = op;
        EXPECT_EQ(ErrorNumber(call), 440) << op;
    }
    backend->failing.clear();
    backend->rejectWrites = true;
    EXPECT_THROW(value->Field("High")->put_Value(1), ArnError);
    EXPECT_EQ(std::tuple(value->Content(), backend->drive, backend->applies, spy.log.size()),
              std::tuple(2.0, 7.0, 0, size_t{0}));
}

TEST(ValueEvents, HandlersMayWriteAgainAndDropTheRaiser) {
    auto value = Register();
    Log log;
    // A handler that answers a change of Low by setting Flag: the nested write announces itself
    // inside the outer dispatch, and the outer one still reports only its own field.
    auto c1 = value->Field("Low")->UpdateView.connect([&](const std::shared_ptr<Field>& f) {
        log.push_back("Low=" + std::to_string(f->get_Value()));
        f->Owner()->Field("Flag")->put_Value(1);
    });
    auto c2 = value->Field("Flag")->UpdateView.connect([&](const std::shared_ptr<Field>& f) {
        log.push_back("Flag=" + std::to_string(f->get_Value()));
    });
    value->Field("Low")->put_Value(7);
    EXPECT_EQ(log, (Log{"Low=7", "Flag=1"}));
    EXPECT_EQ(value->Content(), 0x17);

    // The last owner lets go of the value inside its own event; the dispatch finishes safely.
    std::weak_ptr<Value> weak = value;
    auto field = value->Field("High");
    bool viewed = false;
    auto c3 = value->ContentChanged.connect([&](const std::shared_ptr<Value>&) { value.reset(); });
    auto c4 = field->UpdateView.connect([&](const std::shared_ptr<Field>&) { viewed = true; });
    value->Receive(0x217);  // nothing but the variable the handler clears holds the value
    EXPECT_TRUE(viewed);
    EXPECT_TRUE(weak.expired());
    EXPECT_THROW(field->put_Value(3), ArnError) << "a field of a gone value fails clearly";
}

TEST(ValueLibrary, DefineFieldRefusesTakenNamesAndBadRanges) {
    auto value = Value::Create();
    value->DefineField("Enable Req", 0, 1, "Enable Request");
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

TEST(ValueLibrary, CopyToNumbersAndFreeStandingFieldsKeepTheirContract) {
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
    std::string quantity, units;
    copy->get_UnitsInfo()->GetUnitsText(quantity, units);
    EXPECT_EQ(
        std::tuple(copy->get_NumberValue()->GetDouble(), copy->get_Name(), copy->get_FormatStr(),
                   copy->get_ParamNumber(), copy->get_NumberValue()->get_SpeedReference(),
                   copy->get_UnitsInfo()->get_UnitsReference(), units, copy->get_Fields().Count()),
        std::tuple(4.0, "Accumulated Status", "0", 180, 100.0, 4.0, "counts", size_t{0}));

    // The caller defines the field it wants on the copy, at the source's place.
    copy->DefineField("Trigger Detected", 2, 1, "");
    EXPECT_EQ(copy->Field("Trigger Detected")->get_Value(), 1);

    EXPECT_TRUE(source->CopyTo(copy));
    EXPECT_EQ(contents, 1) << "copying the same content raises nothing";
    EXPECT_EQ(ErrorNumber([&] { source->CopyTo(nullptr); }), 91);

    // A number shares the content and does not keep the value alive.
    auto value = Value::Create();
    auto number = value->get_NumberValue();
    EXPECT_EQ(value->get_NumberValue(), number);
    value->get_UnitsInfo()->SetDouble(12.5);  // the units part writes the same content
    EXPECT_EQ(number->GetDouble(), 12.5);

    value.reset();
    EXPECT_EQ(ErrorNumber([&] { (void)number->GetDouble(); }), 91);
    EXPECT_EQ(ErrorNumber([&] { number->SetDouble(1); }), 91);

    // A free-standing field raises UpdateView only on a change and keeps the last caption.
    auto field = Field::Create("Trigger Detected", 0, 1);
    int views = 0;
    auto view = field->UpdateView.connect([&](const std::shared_ptr<Field>&) { ++views; });
    field->put_Value(0);
    EXPECT_THROW(field->put_Value(2), ArnError) << "a one-bit field holds 0 or 1";
    field->put_Value(1);
    field->put_Value(1);
    EXPECT_EQ(std::pair(views, field->get_Value()), std::pair(1, 1));

    field->AddValueCaption(1, "Trigger");
    field->AddValueCaption(0, "Idle");
    field->AddValueCaption(1, "Triggered");
    auto& captions = field->get_ValueCaptions();
    ASSERT_EQ(captions.Count(), 2u);
    auto one = captions.Item("1");
    EXPECT_EQ(std::tuple(one->get_Active(), one->get_CaptionValue(), one->get_CaptionText()),
              std::tuple(true, 1, "Triggered"));
}

}  // namespace
}  // namespace arn
