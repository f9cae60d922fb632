// A Windows form host's view of the control: the embedding interfaces walked as a strict
// container does, drawing with no window, persistence, and the calls a careless container makes.
#include <gtest/gtest.h>

#include <windows.h>

#include <objsafe.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "component/win32/ComClientSupport.h"
#include "draw/Color.h"
#include "fakes/ComEventSink.h"
#include "fakes/ComFormSite.h"
#include "fakes/DebugOutputMonitor.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNetAutomation.h"

namespace arn {
namespace {

using namespace comtest;
using Microsoft::WRL::ComPtr;
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;

constexpr DWORD kMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                              OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_RECOMPOSEONRESIZE;
// The panel's design size at 96 pixels an inch: 15 twips a pixel.
constexpr int kWidth = 677;
constexpr int kHeight = 290;

// Where a point of the control lies in a picture of the panel's design size divided by
// shrink: its surface rectangle's point at (fx, fy) of its width and height, in pixels.
POINT PointIn(const char* control, double fx, double fy, int shrink = 1) {
    const Rect r = ArnAbsPosnCtl::Create()->Find(control)->SurfaceRect();
    return {static_cast<LONG>((r.left + r.width * fx) / (15 * shrink)),
            static_cast<LONG>((r.top + r.height * fy) / (15 * shrink))};
}

HRESULT Draw(IViewObject2* view, HDC dc, LONG width = kWidth, LONG height = kHeight,
             DWORD aspect = DVASPECT_CONTENT) {
    const RECTL bounds{0, 0, width, height};
    return view->Draw(aspect, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
}

// The face of object under interface I, which object must offer.
template <class I>
ComPtr<I> Face(IUnknown* object, REFIID iid = __uuidof(I)) {
    ComPtr<I> face;
    EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(face.GetAddressOf())), S_OK);
    return face;
}

RECT WindowPlace(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

TEST_F(ComClient, StrictFormHostActivatesDrawsAndReleasesTheControlAndRefusesCallsOutOfTurn) {
    test::DebugOutputMonitor trace;
    ASSERT_TRUE(win32::AddSimulatedDriveTypes());
    IDispatch* hostNet = Present(SimNetAutomation::Create(SimNet::Create()));
    const Window form(CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      900, 500, nullptr, nullptr, nullptr, nullptr),
                      &DestroyWindow);
    const RECT place{10, 20, 10 + kWidth, 20 + kHeight};
    test::ComFormSite site(form.get(), place);
    test::ComEventSink events;
    IDispatch* panel = Create();
    ASSERT_NE(panel, nullptr);
    auto ole = Face<IOleObject>(panel);
    auto quick = Face<IQuickActivate>(panel);
    auto persist = Face<IPersistStreamInit>(panel);
    auto view = Face<IViewObject2>(panel);
    auto inPlace = Face<IOleInPlaceObject>(panel);
    auto control = Face<IOleControl>(panel);
    auto classInfo = Face<IProvideClassInfo2>(panel);
    auto safety = Face<IObjectSafety>(panel, IID_IObjectSafety);
    EXPECT_TRUE(SameObject(ole.Get(), view.Get()));
    DWORD misc = 0;
    ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, kMiscStatus);
    GUID guid{};
    ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid), S_OK);
    EXPECT_TRUE(IsEqualIID(guid, Guid(kEventInterfaceId)));
    // Safe for scripting and initialising through what a script reaches, not the embedding.
    const DWORD safe = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, safe, safe), S_OK);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IOleObject, safe, safe), E_NOINTERFACE);
    DWORD supported = 0, enabled = 0;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IPersistPropertyBag, &supported, &enabled),
              S_OK);
    EXPECT_EQ(supported, safe);

    // Calls out of turn, or without what they need, are refused.
    HWND window = nullptr;
    QACONTAINER container{};
    QACONTROL answer{};
    CONTROLINFO info{};
    Pixels before(kWidth / 2, kHeight / 2);
    EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);  // not active
    EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, form.get(), &place),
              E_UNEXPECTED);                                             // no site
    EXPECT_EQ(quick->QuickActivate(&container, &answer), E_INVALIDARG);  // no sizes
    EXPECT_EQ(control->GetControlInfo(&info), E_INVALIDARG);             // no size
    EXPECT_EQ(inPlace->SetObjectRects(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(ole->Unadvise(77), OLE_E_NOCONNECTION);
    EXPECT_EQ(classInfo->GetGUID(2, &guid), E_INVALIDARG);
    EXPECT_EQ(Draw(view.Get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(Draw(view.Get(), before.Dc(), 0, kHeight), E_INVALIDARG);
    EXPECT_EQ(Draw(view.Get(), before.Dc(), kWidth, kHeight, DVASPECT_ICON), DV_E_DVASPECT);

    // Quick activation hands over the site, the view sink and the event sink at once.
    container.cbSize = sizeof(container);
    container.pClientSite = &site;
    container.pAdviseSink = &site;
    container.pUnkEventSink = &events;
    container.dwAmbientFlags = QACONTAINER_USERMODE;
    answer.cbSize = sizeof(answer);
    ASSERT_EQ(quick->QuickActivate(&container, &answer), S_OK);
    EXPECT_EQ(answer.dwMiscStatus, kMiscStatus);
    EXPECT_NE(answer.dwEventCookie, 0u);
    EXPECT_EQ(events.References(), 2);
    ASSERT_EQ(persist->InitNew(), S_OK);
    SIZEL extent{0, 0};
    EXPECT_EQ(ole->SetExtent(DVASPECT_CONTENT, &extent), E_INVALIDARG);
    ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    EXPECT_EQ(std::pair(extent.cx, extent.cy), std::pair(17912L, 7673L));  // 10155 x 4350 twips
    DWORD cookie = 0;
    ASSERT_EQ(ole->Advise(&site, &cookie), S_OK);

    // Drawn with no window at all, scaled to the bounds, the message label shows yellow once
    // DisplayMsg is set.
    const POINT label = PointIn("DisplayMsgLbl", 0.9, 0.9);
    ASSERT_EQ(Draw(view.Get(), before.Dc(), kWidth / 2, kHeight / 2), S_OK);
    EXPECT_EQ(before.Bgr(PointIn("DisplayMsgLbl", 0.9, 0.9, 2)),
              static_cast<COLORREF>(ColorButtonFace));
    site.ClearCalls();
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, Text(L"Ready")), S_OK);
    EXPECT_EQ(site.Calls(), std::vector<std::string>{"OnViewChange"});  // the view sink's
    Pixels after(kWidth / 2, kHeight / 2);
    ASSERT_EQ(Draw(view.Get(), after.Dc(), kWidth / 2, kHeight / 2), S_OK);
    EXPECT_EQ(after.Bgr(PointIn("DisplayMsgLbl", 0.9, 0.9, 2)), 0x00FFFFu);
    // The same into a metafile, played back.
    HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(Draw(view.Get(), recorder), S_OK);
    HENHMETAFILE recorded = CloseEnhMetaFile(recorder);
    Pixels played(kWidth, kHeight);
    const RECT all{0, 0, kWidth, kHeight};
    ASSERT_TRUE(PlayEnhMetaFile(played.Dc(), recorded, &all));
    DeleteEnhMetaFile(recorded);
    EXPECT_EQ(played.Bgr(label), 0x00FFFFu);
    // While the container freezes events, a press of the teaching button reaches no sink.
    auto accessible = Face<IAccessible>(panel);
    const VARIANT teaching = ChildId(FindControl(accessible.Get(), L"teachingCmd"));
    ASSERT_EQ(control->FreezeEvents(TRUE), S_OK);
    EXPECT_EQ(accessible->accDoDefaultAction(teaching), S_OK);
    EXPECT_EQ(events.Total(), 0);
    ASSERT_EQ(control->FreezeEvents(FALSE), S_OK);
    EXPECT_EQ(accessible->accDoDefaultAction(teaching), S_OK);
    EXPECT_EQ(events.Count(kShowTeachingDlg), 1);
    accessible.Reset();

    // The ambient display name wins over the container's object name. Attached, the panel
    // hides its content until a node is bound: the view shows it as it is now.
    ASSERT_EQ(ole->SetHostNames(L"Form1", L"Panel9"), S_OK);
    EXPECT_EQ(Attach(panel, hostNet, nullptr), S_OK);
    EXPECT_TRUE(trace.Saw(".AttachControl FormPanel1"));
    ASSERT_EQ(Draw(view.Get(), played.Dc()), S_OK);
    EXPECT_EQ(played.Bgr(label), static_cast<COLORREF>(ColorButtonFace));

    // In-place activation, in the order a form host expects, at the verb's rectangle.
    site.ClearCalls();
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, form.get(), &place), S_OK);
    // Shown, the panel's content shows again: the view changed.
    EXPECT_EQ(site.Calls(),
              (std::vector<std::string>{"CanInPlaceActivate", "OnInPlaceActivate", "GetWindow",
                                        "GetWindowContext", "OnViewChange"}));
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
    EXPECT_EQ(GetParent(window), form.get());
    EXPECT_TRUE(IsWindowVisible(window));
    RECT placed = WindowPlace(window);
    EXPECT_TRUE(EqualRect(&placed, &place));
    const RECT moved{30, 40, 30 + kWidth + 60, 40 + kHeight + 30};
    ASSERT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    placed = WindowPlace(window);
    EXPECT_TRUE(EqualRect(&placed, &moved));

    // UI activation makes the control the frame's active object, which takes Tab.
    site.ClearCalls();
    ASSERT_EQ(ole->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, form.get(), &moved), S_OK);
    EXPECT_EQ(site.Calls(), (std::vector<std::string>{"OnUIActivate", "SetActiveObject"}));
    ASSERT_NE(site.Active(), nullptr);
    MSG tab{window, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    MSG letter{window, WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_EQ(site.Active()->TranslateAccelerator(&tab), S_OK);
    EXPECT_EQ(site.Active()->TranslateAccelerator(&letter), S_FALSE);
    // A designer's site: the control takes no keys.
    site.SetUserMode(false);
    ASSERT_EQ(control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
    EXPECT_EQ(site.Active()->TranslateAccelerator(&tab), S_FALSE);

    // Close deactivates in reverse and lets go of the sinks, once; the site goes with
    // SetClientSite.
    site.ClearCalls();
    ASSERT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(ole->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
    EXPECT_EQ(site.Calls(), (std::vector<std::string>{"SetActiveObject(null)", "OnUIDeactivate",
                                                      "OnInPlaceDeactivate", "OnClose"}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(site.Active(), nullptr);
    EXPECT_EQ(site.References(), 2);  // the client site only
    ASSERT_EQ(ole->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(site.References(), 1);
    // A site that refuses every interface but the client site's cannot take the control in.
    test::ComFormSite refusing(form.get(), place, true);
    ASSERT_EQ(ole->SetClientSite(&refusing), S_OK);
    EXPECT_EQ(ole->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &refusing, 0, form.get(), &place),
              E_NOINTERFACE);
    EXPECT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(ole->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(refusing.References(), 1);

    [](auto&... faces) { (faces.Reset(), ...); }(ole, quick, persist, view, inPlace, control,
                                                 classInfo, safety);
    EXPECT_EQ(panel->Release(), 0u);
    EXPECT_EQ(events.References(), 1);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
    hostNet->Release();
}

// A stream holding bytes, at its start.
ComPtr<IStream> StreamOf(const std::vector<unsigned char>& bytes) {
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    return stream;
}

TEST_F(ComClient, PersistsItsExtentInAStreamAndAPropertyBagAndRefusesForeignRecords) {
    ComPtr<IDispatch> panel;
    *panel.GetAddressOf() = Create();
    auto ole = Face<IOleObject>(panel.Get());
    auto stream = Face<IPersistStreamInit>(panel.Get());
    auto bag = Face<IPersistPropertyBag>(panel.Get());
    SIZEL size{5000, 2000};
    ASSERT_EQ(ole->SetExtent(DVASPECT_CONTENT, &size), S_OK);

    // The record as Save writes it for the extent, loaded back whole and cut short.
    ComPtr<IStream> saved;
    CreateStreamOnHGlobal(nullptr, TRUE, &saved);
    ASSERT_EQ(stream->Save(saved.Get(), TRUE), S_OK);
    STATSTG stat{};
    saved->Stat(&stat, STATFLAG_NONAME);
    std::vector<unsigned char> record(static_cast<size_t>(stat.cbSize.QuadPart));
    EXPECT_EQ(record.size(), 16u);
    saved->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    saved->Read(record.data(), static_cast<ULONG>(record.size()), nullptr);
    EXPECT_EQ(stream->InitNew(), S_OK);
    EXPECT_EQ(stream->Load(StreamOf(record).Get()), S_OK);
    size = {};
    EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(std::pair(size.cx, size.cy), std::pair(5000L, 2000L));
    record.resize(12);
    EXPECT_EQ(stream->Load(StreamOf(record).Get()), STG_E_READFAULT);
    EXPECT_EQ(stream->Load(StreamOf({}).Get()), STG_E_READFAULT);
    EXPECT_EQ(stream->Load(StreamOf({'P', 'K', 3, 4, 20, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0}).Get()),
              STG_E_INVALIDHEADER);

    // The same through a form's property bag.
    test::ComFormPropertyBag properties;
    EXPECT_EQ(bag->Save(&properties, TRUE, TRUE), S_OK);
    EXPECT_EQ(properties.Number(L"_Version"), 1);
    EXPECT_EQ(properties.Number(L"_ExtentX"), 5000);
    EXPECT_EQ(bag->InitNew(), S_OK);
    EXPECT_EQ(bag->Load(&properties, nullptr), S_OK);
    size = {};
    EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(size.cy, 2000);
    VARIANT wide = Text(L"wide");
    properties.Write(L"_ExtentX", &wide);
    VariantClear(&wide);
    EXPECT_EQ(bag->Load(&properties, nullptr), E_INVALIDARG);

    [](auto&... faces) { (faces.Reset(), ...); }(ole, stream, bag, panel);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace arn
