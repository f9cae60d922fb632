// An automation object of ours as the system's component runtime sees it: its dispatch
// interface, its connection point and the enumerators of both.
#include <gtest/gtest.h>

#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/AutomationSpy.h"
#include "fakes/ComEventSink.h"
#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComRefusals.h"

namespace arn::win32 {
namespace {

// {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F60}, {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F61}
constexpr IID kSpyIid = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x60}};
constexpr IID kSpyEvents = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x61}};

class ComDispatchObjectTest : public ::testing::Test {
  protected:
    ~ComDispatchObjectTest() override {
        if (object != nullptr) {
            EXPECT_EQ(object->Release(), 0u);
        }
        EXPECT_TRUE(ComServerCanUnload());
    }

    std::shared_ptr<test::AutomationSpy> spy = std::make_shared<test::AutomationSpy>();
    ComDispatchObject* object = ComDispatchObject::Create(spy, kSpyIid, &kSpyEvents, nullptr);
};

TEST_F(ComDispatchObjectTest, AnswersItsInterfaceAndRefusesMalformedCallsWithTheStandardResults) {
    EXPECT_FALSE(ComServerCanUnload());
    void* asSpy = nullptr;
    ASSERT_EQ(object->QueryInterface(kSpyIid, &asSpy), S_OK);
    EXPECT_EQ(asSpy, static_cast<IDispatch*>(object));
    object->Release();
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, nullptr), E_POINTER);

    // Level (1) is a Long property; the rest of the member kinds' refusals reach the client
    // through its errors.
    VARIANT two[2] = {};  // refused before they are read
    DISPID named = DISPID_PROPERTYPUT;
    // Rows: a put of two values, of an unnamed value; an unknown member; a raising member
    // without room for the exception.
    const struct {
        DISPID id;
        WORD flags;
        DISPPARAMS params;
        HRESULT expected;
    } rows[] = {{1, DISPATCH_PROPERTYPUT, {two, &named, 2, 1}, DISP_E_BADPARAMCOUNT},
                {1, DISPATCH_PROPERTYPUT, {two, nullptr, 1, 0}, DISP_E_PARAMNOTFOUND},
                {0x12345, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND},
                {2, DISPATCH_PROPERTYGET, {}, DISP_E_EXCEPTION}};
    for (auto row : rows) {
        VARIANT result{};
        EXPECT_EQ(
            object->Invoke(row.id, IID_NULL, 0, row.flags, &row.params, &result, nullptr, nullptr),
            row.expected)
            << row.id;
    }
    VARIANT text{};
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"not a number");
    DISPPARAMS put{&text, &named, 1, 1};
    UINT argErr = 99;
    EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    VariantClear(&text);
    DISPPARAMS none{};
    EXPECT_EQ(object->Invoke(1, kSpyIid, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(
        object->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr),
        E_POINTER);
    EXPECT_EQ(spy->puts, 0);
}

TEST_F(ComDispatchObjectTest, DeliversEventsToEachAdvisedSinkUntilUnadvised) {
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(object->FindConnectionPoint(kSpyIid, &point), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(object->FindConnectionPoint(kSpyEvents, &point), S_OK);
    IID iid{};
    ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_TRUE(IsEqualIID(iid, kSpyEvents));
    IConnectionPointContainer* back = nullptr;
    ASSERT_EQ(point->GetConnectionPointContainer(&back), S_OK);
    EXPECT_EQ(back, static_cast<IConnectionPointContainer*>(object));
    back->Release();

    // Only sinks that dispatch connect; each gets its own cookie.
    test::ComPlainUnknown unknown;
    DWORD plainCookie = 7;
    EXPECT_EQ(point->Advise(&unknown, &plainCookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(plainCookie, 0u);
    test::ComEventSink first, second;
    DWORD firstCookie = 0, secondCookie = 0;
    ASSERT_EQ(point->Advise(&first, &firstCookie), S_OK);
    ASSERT_EQ(point->Advise(&second, &secondCookie), S_OK);
    EXPECT_NE(firstCookie, secondCookie);

    spy->Fire(2);
    spy->Fire(1);
    spy->Fire(2);
    EXPECT_EQ(first.Count(1), 1);
    EXPECT_EQ(first.Count(2), 2);
    EXPECT_EQ(second.Total(), 3);

    EXPECT_EQ(point->Unadvise(secondCookie + 100), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(point->Unadvise(firstCookie), S_OK);
    EXPECT_EQ(first.References(), 1);
    spy->Fire(1);
    EXPECT_EQ(first.Total(), 3);
    EXPECT_EQ(second.Count(1), 2);
    point->Release();

    // The object's end releases the sinks still advised and stops the events.
    EXPECT_EQ(second.References(), 2);
    EXPECT_EQ(std::exchange(object, nullptr)->Release(), 0u);
    EXPECT_EQ(second.References(), 1);
    spy->Fire(1);
    EXPECT_EQ(second.Total(), 4);

    // An object without an event interface offers no container. Each refusal is reported, by
    // the interface's name where the system or the runtime knows it, else by its id.
    std::vector<std::string> refused;
    SetRefusedInterfaceListener(
        [&](const IID& refusal) { refused.push_back(InterfaceName(refusal)); });
    ComDispatchObject* plain = ComDispatchObject::Create(spy, IID_IDispatch, nullptr, nullptr);
    void* container = reinterpret_cast<void*>(1);
    EXPECT_EQ(plain->QueryInterface(IID_IConnectionPointContainer, &container), E_NOINTERFACE);
    EXPECT_EQ(container, nullptr);
    EXPECT_EQ(plain->QueryInterface(IID_IOleObject, &container), E_NOINTERFACE);
    EXPECT_EQ(plain->QueryInterface(kSpyEvents, &container), E_NOINTERFACE);
    SetRefusedInterfaceListener({});
    EXPECT_EQ(plain->QueryInterface(kSpyIid, &container), E_NOINTERFACE);
    plain->Release();
    EXPECT_EQ(refused, (std::vector<std::string>{"IConnectionPointContainer", "IOleObject",
                                                 "{0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F61}"}));
}

// The enumerators share their walk; the points' lists the container's one point, the
// connections' the sinks advised when it was taken, each with its cookie.
TEST_F(ComDispatchObjectTest, EnumeratesTheConnectionPointAndASnapshotOfTheConnections) {
    IConnectionPoint* found = nullptr;
    ASSERT_EQ(object->FindConnectionPoint(kSpyEvents, &found), S_OK);
    EXPECT_EQ(object->EnumConnectionPoints(nullptr), E_POINTER);
    IEnumConnectionPoints* points = nullptr;
    ASSERT_EQ(object->EnumConnectionPoints(&points), S_OK);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(points->QueryInterface(IID_IEnumConnections, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(points->Next(1, &point, nullptr), S_OK);
    EXPECT_EQ(point, found);
    point->Release();
    EXPECT_EQ(points->Next(1, &point, nullptr), S_FALSE);

    test::ComEventSink first, second, third;
    DWORD cookies[3] = {};
    ASSERT_EQ(found->Advise(&first, &cookies[0]), S_OK);
    ASSERT_EQ(found->Advise(&second, &cookies[1]), S_OK);
    ASSERT_EQ(found->Advise(&third, &cookies[2]), S_OK);
    ASSERT_EQ(found->Unadvise(cookies[1]), S_OK);
    CONNECTDATA data[3] = {};
    ULONG fetched = 7;
    EXPECT_EQ(found->EnumConnections(nullptr), E_POINTER);
    IEnumConnections* connections = nullptr;
    ASSERT_EQ(found->EnumConnections(&connections), S_OK);
    EXPECT_EQ(connections->Next(3, data, nullptr), E_POINTER);
    // Advised (1), the list's own (2), and now the caller's too (3).
    ASSERT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(data[0].pUnk, static_cast<IUnknown*>(static_cast<IDispatch*>(&first)));
    EXPECT_EQ(data[0].dwCookie, cookies[0]);
    EXPECT_EQ(data[1].pUnk, static_cast<IUnknown*>(static_cast<IDispatch*>(&third)));
    EXPECT_EQ(data[1].dwCookie, cookies[2]);
    EXPECT_EQ(first.References(), 4);
    EXPECT_EQ(second.References(), 1);
    data[0].pUnk->Release();
    data[1].pUnk->Release();

    // A sink unadvised after the snapshot is still listed, and held.
    ASSERT_EQ(found->Unadvise(cookies[0]), S_OK);
    EXPECT_EQ(first.References(), 2);
    ASSERT_EQ(connections->Reset(), S_OK);
    EXPECT_EQ(connections->Next(0, data, &fetched), S_OK);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(connections->Skip(1), S_OK);
    // A clone starts where its original stands and moves on its own.
    IEnumConnections* clone = nullptr;
    EXPECT_EQ(connections->Clone(nullptr), E_POINTER);
    ASSERT_EQ(connections->Clone(&clone), S_OK);
    EXPECT_EQ(connections->Skip(2), S_FALSE);
    ASSERT_EQ(clone->Next(2, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(data[0].dwCookie, cookies[2]);
    data[0].pUnk->Release();
    ASSERT_EQ(connections->Reset(), S_OK);
    ASSERT_EQ(connections->Next(1, data, nullptr), S_OK);
    EXPECT_EQ(data[0].dwCookie, cookies[0]);
    data[0].pUnk->Release();

    // The sinks' references go with the last enumerator, the object's with the last of the
    // points' enumerators (through its point); the sink still advised stays held.
    EXPECT_EQ(connections->Release(), 0u);
    EXPECT_EQ(first.References(), 2);
    EXPECT_EQ(clone->Release(), 0u);
    EXPECT_EQ(first.References(), 1);
    EXPECT_EQ(third.References(), 2);
    found->Release();
    EXPECT_EQ(std::exchange(object, nullptr)->Release(), 1u);  // the points' enumerator holds it
    EXPECT_FALSE(ComServerCanUnload());
    EXPECT_EQ(points->Release(), 0u);
    EXPECT_EQ(third.References(), 1);
}

}  // namespace
}  // namespace arn::win32
