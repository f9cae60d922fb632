#include <gtest/gtest.h>

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "fakes/AutomationSpy.h"
#include "fakes/ComEventSink.h"
#include "platform/win32/com/ComDispatchObject.h"
#include "platform/win32/com/ComModule.h"

namespace arn::win32 {
namespace {

// {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F60}, {0E3B8A52-3A14-4E0B-9B55-1A2C3D4E5F61}
constexpr IID kSpyIid = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x60}};
constexpr IID kSpyEvents = {
    0x0E3B8A52, 0x3A14, 0x4E0B, {0x9B, 0x55, 0x1A, 0x2C, 0x3D, 0x4E, 0x5F, 0x61}};

TEST(ComEnumerator, ListsTheContainersOneConnectionPoint) {
    auto spy = std::make_shared<test::AutomationSpy>();
    ComDispatchObject* object = ComDispatchObject::Create(spy, kSpyIid, &kSpyEvents, nullptr);
    IConnectionPoint* found = nullptr;
    ASSERT_EQ(object->FindConnectionPoint(kSpyEvents, &found), S_OK);
    EXPECT_EQ(object->EnumConnectionPoints(nullptr), E_POINTER);

    IEnumConnectionPoints* points = nullptr;
    ASSERT_EQ(object->EnumConnectionPoints(&points), S_OK);
    ASSERT_NE(points, nullptr);
    void* same = nullptr;
    ASSERT_EQ(points->QueryInterface(IID_IEnumConnectionPoints, &same), S_OK);
    EXPECT_EQ(same, points);
    points->Release();
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(points->QueryInterface(IID_IEnumConnections, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);

    // One element, handed out with a reference of the caller's; fetched may be left out for one.
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(points->Next(1, &point, nullptr), S_OK);
    EXPECT_EQ(point, found);
    point->Release();
    ULONG fetched = 7;
    point = nullptr;
    EXPECT_EQ(points->Next(1, &point, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(point, nullptr);

    IConnectionPoint* many[3] = {};
    EXPECT_EQ(points->Next(3, many, nullptr), E_POINTER);
    ASSERT_EQ(points->Reset(), S_OK);
    ASSERT_EQ(points->Next(3, many, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(many[0], found);
    EXPECT_EQ(many[1], nullptr);
    many[0]->Release();
    ASSERT_EQ(points->Reset(), S_OK);
    EXPECT_EQ(points->Next(0, many, &fetched), S_OK);
    EXPECT_EQ(fetched, 0u);

    // Skip past the one, then past the end.
    EXPECT_EQ(points->Skip(1), S_OK);
    EXPECT_EQ(points->Next(1, &point, &fetched), S_FALSE);
    EXPECT_EQ(points->Skip(1), S_FALSE);
    ASSERT_EQ(points->Reset(), S_OK);
    EXPECT_EQ(points->Skip(2), S_FALSE);

    // A clone starts where its original stands and moves on its own.
    IEnumConnectionPoints* atEnd = nullptr;
    ASSERT_EQ(points->Clone(&atEnd), S_OK);
    EXPECT_EQ(atEnd->Next(1, &point, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    ASSERT_EQ(points->Reset(), S_OK);
    IEnumConnectionPoints* atStart = nullptr;
    ASSERT_EQ(points->Clone(&atStart), S_OK);
    EXPECT_EQ(points->Skip(1), S_OK);
    ASSERT_EQ(atStart->Next(1, &point, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(point, found);
    point->Release();
    EXPECT_EQ(atEnd->Reset(), S_OK);
    ASSERT_EQ(atEnd->Next(1, &point, nullptr), S_OK);
    EXPECT_EQ(point, found);
    point->Release();
    EXPECT_EQ(points->Clone(nullptr), E_POINTER);

    // The enumerators keep the object alive (through its point) until the last of them goes.
    found->Release();
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(points->Release(), 0u);
    EXPECT_EQ(atEnd->Release(), 0u);
    EXPECT_FALSE(ComServerCanUnload());
    EXPECT_EQ(atStart->Release(), 0u);
    EXPECT_TRUE(ComServerCanUnload());
}

TEST(ComEnumerator, ListsTheAdvisedConnectionsWithTheirCookies) {
    auto spy = std::make_shared<test::AutomationSpy>();
    ComDispatchObject* object = ComDispatchObject::Create(spy, kSpyIid, &kSpyEvents, nullptr);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(object->FindConnectionPoint(kSpyEvents, &point), S_OK);
    EXPECT_EQ(point->EnumConnections(nullptr), E_POINTER);

    // None advised yet: an empty list.
    IEnumConnections* empty = nullptr;
    ASSERT_EQ(point->EnumConnections(&empty), S_OK);
    CONNECTDATA data[3] = {};
    ULONG fetched = 7;
    EXPECT_EQ(empty->Next(1, data, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(empty->Skip(1), S_FALSE);
    EXPECT_EQ(empty->Release(), 0u);

    test::ComEventSink first;
    test::ComEventSink second;
    test::ComEventSink third;
    DWORD cookies[3] = {};
    ASSERT_EQ(point->Advise(&first, &cookies[0]), S_OK);
    ASSERT_EQ(point->Advise(&second, &cookies[1]), S_OK);
    ASSERT_EQ(point->Advise(&third, &cookies[2]), S_OK);
    ASSERT_EQ(point->Unadvise(cookies[1]), S_OK);

    IEnumConnections* connections = nullptr;
    ASSERT_EQ(point->EnumConnections(&connections), S_OK);
    void* same = nullptr;
    ASSERT_EQ(connections->QueryInterface(IID_IEnumConnections, &same), S_OK);
    EXPECT_EQ(same, connections);
    connections->Release();
    // Advised (1), the list's own (2), and now the caller's too (3).
    ASSERT_EQ(connections->Next(3, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(data[0].pUnk, static_cast<IUnknown*>(static_cast<IDispatch*>(&first)));
    EXPECT_EQ(data[0].dwCookie, cookies[0]);
    EXPECT_EQ(data[1].pUnk, static_cast<IUnknown*>(static_cast<IDispatch*>(&third)));
    EXPECT_EQ(data[1].dwCookie, cookies[2]);
    EXPECT_EQ(first.References(), 4);
    EXPECT_EQ(second.References(), 1);
    EXPECT_EQ(third.References(), 4);
    data[0].pUnk->Release();
    data[1].pUnk->Release();

    // The list is a snapshot: a sink unadvised after it was taken is still listed, and held.
    ASSERT_EQ(point->Unadvise(cookies[0]), S_OK);
    EXPECT_EQ(first.References(), 2);
    ASSERT_EQ(connections->Reset(), S_OK);
    ASSERT_EQ(connections->Next(1, data, nullptr), S_OK);
    EXPECT_EQ(data[0].dwCookie, cookies[0]);
    data[0].pUnk->Release();

    IEnumConnections* clone = nullptr;
    ASSERT_EQ(connections->Clone(&clone), S_OK);
    ASSERT_EQ(clone->Next(2, data, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(data[0].dwCookie, cookies[2]);
    data[0].pUnk->Release();
    EXPECT_EQ(connections->Skip(1), S_OK);
    EXPECT_EQ(connections->Skip(1), S_FALSE);

    // The sinks' references go with the last enumerator; the one still advised stays held.
    EXPECT_EQ(connections->Release(), 0u);
    EXPECT_EQ(first.References(), 2);
    EXPECT_EQ(clone->Release(), 0u);
    EXPECT_EQ(first.References(), 1);
    EXPECT_EQ(third.References(), 2);
    point->Release();
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(third.References(), 1);
    EXPECT_TRUE(ComServerCanUnload());
}

}  // namespace
}  // namespace arn::win32
