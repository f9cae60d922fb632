// A Windows form host's view of the control: the embedding interfaces walked as a strict
// container does, drawing with no window, and the calls a careless container makes.
#include <gtest/gtest.h>

#include <windows.h>

#include <objsafe.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "component/win32/ComClientSupport.h"
#include "component/win32/ComUIuserControl.h"
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

constexpr DWORD kMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                              OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                              OLEMISC_RECOMPOSEONRESIZE;
// The panel's design size at 96 pixels an inch: 15 twips a pixel.
constexpr int kWidth = 677;
constexpr int kHeight = 290;

// Where a point of the control lies in a picture of the panel's design size: its surface
// rectangle's point at (fx, fy) of its width and height, in pixels.
POINT PointIn(const char* control, double fx, double fy) {
    const Rect r = ArnAbsPosnCtl::Create()->Find(control)->SurfaceRect();
    return {static_cast<LONG>((r.left + r.width * fx) / 15),
            static_cast<LONG>((r.top + r.height * fy) / 15)};
}

HRESULT Draw(IViewObject2* view, HDC dc) {
    const RECTL bounds{0, 0, kWidth, kHeight};
    return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr,
                      nullptr, 0);
}

RECT WindowPlace(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

MSG KeyDown(HWND window, WPARAM key) {
    MSG message{};
    message.hwnd = window;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

class FormWindow {
  public:
    FormWindow()
        : m_window(CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   900, 500, nullptr, nullptr, nullptr, nullptr)) {}
    ~FormWindow() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }

  private:
    HWND m_window;
};

TEST_F(ComClient, StrictFormHostQuickActivatesDrawsActivatesInPlaceAndReleasesTheControl) {
    test::DebugOutputMonitor trace;
    AddSimulatedDriveTypes();
    IDispatch* hostNet = Present(SimNetAutomation::Create(SimNet::Create()));
    FormWindow form;
    const RECT place{10, 20, 10 + kWidth, 20 + kHeight};
    test::ComFormSite site(form.Handle(), place, L"FormPanel1", true);
    test::ComEventSink events;
    IDispatch* panel = Create();
    ASSERT_NE(panel, nullptr);
    ComPtr<IOleObject> ole;
    ComPtr<IQuickActivate> quick;
    ComPtr<IPersistStreamInit> persist;
    ComPtr<IViewObject2> view;
    ComPtr<IOleInPlaceObject> inPlace;
    ComPtr<IOleControl> control;
    for (HRESULT hr :
         {panel->QueryInterface(IID_PPV_ARGS(&ole)), panel->QueryInterface(IID_PPV_ARGS(&quick)),
          panel->QueryInterface(IID_PPV_ARGS(&persist)), panel->QueryInterface(IID_PPV_ARGS(&view)),
          panel->QueryInterface(IID_PPV_ARGS(&inPlace)),
          panel->QueryInterface(IID_PPV_ARGS(&control))}) {
        ASSERT_EQ(hr, S_OK);
    }
    EXPECT_TRUE(SameObject(ole.Get(), view.Get()));
    DWORD misc = 0;
    ASSERT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, kMiscStatus);

    // Quick activation hands over the site, the view sink and the event sink at once.
    QACONTAINER container{};
    container.cbSize = sizeof(container);
    container.pClientSite = &site;
    container.pAdviseSink = &site;
    container.pUnkEventSink = &events;
    container.dwAmbientFlags = QACONTAINER_USERMODE;
    QACONTROL answer{};
    answer.cbSize = sizeof(answer);
    ASSERT_EQ(quick->QuickActivate(&container, &answer), S_OK);
    EXPECT_EQ(answer.dwMiscStatus, kMiscStatus);
    EXPECT_NE(answer.dwEventCookie, 0u);
    EXPECT_EQ(events.References(), 2);
    ASSERT_EQ(persist->InitNew(), S_OK);
    SIZEL extent{};
    ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    EXPECT_EQ(extent.cx, 17912);  // 10155 x 4350 twips in HIMETRIC
    EXPECT_EQ(extent.cy, 7673);
    DWORD cookie = 0;
    ASSERT_EQ(ole->Advise(&site, &cookie), S_OK);

    // Drawn with no window at all, the message label shows yellow once DisplayMsg is set.
    const POINT label = PointIn("DisplayMsgLbl", 0.9, 0.9);
    Pixels before(kWidth, kHeight);
    ASSERT_EQ(Draw(view.Get(), before.Dc()), S_OK);
    EXPECT_EQ(before.Rgb(label), Pixels::Swap(ColorButtonFace));
    VARIANT text = Text(L"Ready");
    site.ClearCalls();
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, text), S_OK);
    VariantClear(&text);
    EXPECT_EQ(site.Calls(), std::vector<std::string>{"OnViewChange"});  // the view sink's
    Pixels after(kWidth, kHeight);
    ASSERT_EQ(Draw(view.Get(), after.Dc()), S_OK);
    EXPECT_EQ(after.Rgb(label), 0xFFFF00u);
    // The same into a metafile, played back.
    HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(Draw(view.Get(), recorder), S_OK);
    HENHMETAFILE recorded = CloseEnhMetaFile(recorder);
    Pixels played(kWidth, kHeight);
    const RECT all{0, 0, kWidth, kHeight};
    ASSERT_TRUE(PlayEnhMetaFile(played.Dc(), recorded, &all));
    DeleteEnhMetaFile(recorded);
    EXPECT_EQ(played.Rgb(label), 0xFFFF00u);
    // While the container freezes events, a press of the teaching button reaches no sink.
    ComPtr<IAccessible> accessible;
    ASSERT_EQ(
        panel->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(accessible.GetAddressOf())),
        S_OK);
    const VARIANT teaching = ChildId(FindChild(accessible.Get(), L"?", ROLE_SYSTEM_PUSHBUTTON));
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
    Pixels hidden(kWidth, kHeight);
    ASSERT_EQ(Draw(view.Get(), hidden.Dc()), S_OK);
    EXPECT_EQ(hidden.Rgb(label), Pixels::Swap(ColorButtonFace));

    // In-place activation, in the order a form host expects, at the verb's rectangle.
    site.ClearCalls();
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, form.Handle(), &place),
              S_OK);
    // Shown, the panel's content shows again: the view changed.
    EXPECT_EQ(site.Calls(),
              (std::vector<std::string>{"CanInPlaceActivate", "OnInPlaceActivate", "GetWindow",
                                        "GetWindowContext", "OnViewChange"}));
    HWND window = nullptr;
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
    EXPECT_EQ(GetParent(window), form.Handle());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(SameRect(WindowPlace(window), place));
    const RECT moved{30, 40, 30 + kWidth + 60, 40 + kHeight + 30};
    ASSERT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    EXPECT_TRUE(SameRect(WindowPlace(window), moved));

    // UI activation makes the control the frame's active object, which takes Tab.
    site.ClearCalls();
    ASSERT_EQ(ole->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, form.Handle(), &moved), S_OK);
    EXPECT_EQ(site.Calls(), (std::vector<std::string>{"OnUIActivate", "SetActiveObject"}));
    ASSERT_NE(site.Active(), nullptr);
    MSG tab = KeyDown(window, VK_TAB);
    MSG letter = KeyDown(window, 'A');
    EXPECT_EQ(site.Active()->TranslateAccelerator(&tab), S_OK);
    EXPECT_EQ(site.Active()->TranslateAccelerator(&letter), S_FALSE);
    // A designer's site: the control takes no keys.
    site.SetUserMode(false);
    ASSERT_EQ(control->OnAmbientPropertyChange(DISPID_AMBIENT_USERMODE), S_OK);
    EXPECT_EQ(site.Active()->TranslateAccelerator(&tab), S_FALSE);

    // Close deactivates in reverse and lets go of the sinks; the site goes with SetClientSite.
    site.ClearCalls();
    ASSERT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(site.Calls(), (std::vector<std::string>{"SetActiveObject(null)", "OnUIDeactivate",
                                                      "OnInPlaceDeactivate", "OnClose"}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(site.Active(), nullptr);
    EXPECT_EQ(site.References(), 2);  // the client site only
    ASSERT_EQ(ole->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(site.References(), 1);

    ole.Reset();
    quick.Reset();
    persist.Reset();
    view.Reset();
    inPlace.Reset();
    control.Reset();
    EXPECT_EQ(panel->Release(), 0u);
    EXPECT_EQ(events.References(), 1);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
    hostNet->Release();
}

// A stream holding bytes, at its start.
ComPtr<IStream> StreamOf(const std::vector<unsigned char>& bytes) {
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    return stream;
}

// The control's record as Save writes it for an extent.
std::vector<unsigned char> SavedRecord(IPersistStreamInit* persist) {
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    EXPECT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    std::vector<unsigned char> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return bytes;
}

// The embedding interfaces of one new control.
struct Embedded {
    ComPtr<IDispatch> panel;
    ComPtr<IOleObject> ole;
    ComPtr<IViewObject2> view;
    ComPtr<IPersistStreamInit> stream;
    ComPtr<IPersistPropertyBag> bag;
    ComPtr<IQuickActivate> quick;
    ComPtr<IOleControl> control;
    ComPtr<IOleInPlaceObject> inPlace;
    ComPtr<IProvideClassInfo2> classInfo;
    ComPtr<IObjectSafety> safety;
};

TEST_F(ComClient, EmbeddingInterfacesPersistRoundTripAndAnswerBadCallsCleanly) {
    FormWindow form;
    const RECT place{0, 0, kWidth, kHeight};
    test::ComFormSite refusing(form.Handle(), place, L"", true, true);
    const SIZEL zero{0, 0};
    const SIZEL small{5000, 2000};
    const struct {
        const char* call;
        HRESULT expected;
        std::function<HRESULT(Embedded&)> make;
    } rows[] = {
        {"Draw with a null DC", E_INVALIDARG,
         [](Embedded& e) { return Draw(e.view.Get(), nullptr); }},
        {"Draw of the icon aspect", DV_E_DVASPECT,
         [](Embedded& e) {
             Pixels picture(32, 32);
             const RECTL bounds{0, 0, 32, 32};
             return e.view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, picture.Dc(),
                                 &bounds, nullptr, nullptr, 0);
         }},
        {"DoVerb before SetClientSite", E_UNEXPECTED,
         [&](Embedded& e) {
             return e.ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, form.Handle(),
                                  &place);
         }},
        {"DoVerb of a site that refuses every interface", E_NOINTERFACE,
         [&](Embedded& e) {
             EXPECT_EQ(e.ole->SetClientSite(&refusing), S_OK);
             const HRESULT hr =
                 e.ole->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &refusing, 0, form.Handle(), &place);
             EXPECT_EQ(e.ole->Close(OLECLOSE_NOSAVE), S_OK);
             EXPECT_EQ(e.ole->SetClientSite(nullptr), S_OK);
             return hr;
         }},
        {"SetExtent of 0 x 0", E_INVALIDARG,
         [&](Embedded& e) {
             SIZEL size = zero;
             const HRESULT hr = e.ole->SetExtent(DVASPECT_CONTENT, &size);
             EXPECT_EQ(e.ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
             EXPECT_EQ(size.cx, 17912);  // unchanged
             return hr;
         }},
        {"Close twice", S_OK,
         [](Embedded& e) {
             EXPECT_EQ(e.ole->Close(OLECLOSE_SAVEIFDIRTY), S_OK);
             return e.ole->Close(OLECLOSE_SAVEIFDIRTY);
         }},
        {"Load of a stream round trip", S_OK,
         [&](Embedded& e) {
             SIZEL size = small;
             EXPECT_EQ(e.ole->SetExtent(DVASPECT_CONTENT, &size), S_OK);
             const auto saved = SavedRecord(e.stream.Get());
             EXPECT_EQ(saved.size(), 16u);
             EXPECT_EQ(e.stream->InitNew(), S_OK);
             const HRESULT hr = e.stream->Load(StreamOf(saved).Get());
             EXPECT_EQ(e.ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
             EXPECT_EQ(size.cx, small.cx);
             EXPECT_EQ(size.cy, small.cy);
             return hr;
         }},
        {"Load of a truncated stream", STG_E_READFAULT,
         [](Embedded& e) {
             auto saved = SavedRecord(e.stream.Get());
             saved.resize(12);
             return e.stream->Load(StreamOf(saved).Get());
         }},
        {"Load of an empty stream", STG_E_READFAULT,
         [](Embedded& e) { return e.stream->Load(StreamOf({}).Get()); }},
        {"Load of a foreign stream", STG_E_INVALIDHEADER,
         [](Embedded& e) {
             return e.stream->Load(
                 StreamOf({'P', 'K', 3, 4, 20, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0}).Get());
         }},
        {"Load of a property bag round trip", S_OK,
         [&](Embedded& e) {
             test::ComFormPropertyBag bag;
             SIZEL size = small;
             EXPECT_EQ(e.ole->SetExtent(DVASPECT_CONTENT, &size), S_OK);
             EXPECT_EQ(e.bag->Save(&bag, TRUE, TRUE), S_OK);
             EXPECT_EQ(bag.Number(L"_Version"), 1);
             EXPECT_EQ(bag.Number(L"_ExtentX"), small.cx);
             EXPECT_EQ(e.bag->InitNew(), S_OK);
             const HRESULT hr = e.bag->Load(&bag, nullptr);
             EXPECT_EQ(e.ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
             EXPECT_EQ(size.cy, small.cy);
             return hr;
         }},
        {"Load of a property bag with a word for the width", E_INVALIDARG,
         [](Embedded& e) {
             test::ComFormPropertyBag bag;
             bag.Put(L"_ExtentX", L"wide");
             return e.bag->Load(&bag, nullptr);
         }},
        {"QuickActivate with no sizes", E_INVALIDARG,
         [](Embedded& e) {
             QACONTAINER container{};
             QACONTROL control{};
             return e.quick->QuickActivate(&container, &control);
         }},
        {"GetControlInfo with no size", E_INVALIDARG,
         [](Embedded& e) {
             CONTROLINFO info{};
             return e.control->GetControlInfo(&info);
         }},
        {"SetObjectRects with no rectangle", E_POINTER,
         [](Embedded& e) { return e.inPlace->SetObjectRects(nullptr, nullptr); }},
        {"GetWindow of an inactive control", E_FAIL,
         [](Embedded& e) {
             HWND window = nullptr;
             return e.inPlace->GetWindow(&window);
         }},
        {"Unadvise of an unknown connection", OLE_E_NOCONNECTION,
         [](Embedded& e) { return e.ole->Unadvise(77); }},
        {"GetGUID of another kind", E_INVALIDARG,
         [](Embedded& e) {
             GUID guid{};
             EXPECT_EQ(e.classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid), S_OK);
             EXPECT_TRUE(IsEqualIID(guid, Guid(kEventInterfaceId)));
             return e.classInfo->GetGUID(2, &guid);
         }},
        {"SetInterfaceSafetyOptions of the embedding interface", E_NOINTERFACE,
         [](Embedded& e) {
             const DWORD safe =
                 INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
             EXPECT_EQ(e.safety->SetInterfaceSafetyOptions(IID_IDispatch, safe, safe), S_OK);
             DWORD supported = 0;
             DWORD enabled = 0;
             EXPECT_EQ(
                 e.safety->GetInterfaceSafetyOptions(IID_IPersistPropertyBag, &supported, &enabled),
                 S_OK);
             EXPECT_EQ(supported, safe);
             return e.safety->SetInterfaceSafetyOptions(IID_IOleObject, safe, safe);
         }},
    };
    for (const auto& row : rows) {
        Embedded e;
        *e.panel.GetAddressOf() = Create();
        ASSERT_NE(e.panel, nullptr);
        for (HRESULT hr :
             {e.panel.As(&e.ole), e.panel.As(&e.view), e.panel.As(&e.stream), e.panel.As(&e.bag),
              e.panel.As(&e.quick), e.panel.As(&e.control), e.panel.As(&e.inPlace),
              e.panel.As(&e.classInfo),
              e.panel->QueryInterface(IID_IObjectSafety,
                                      reinterpret_cast<void**>(e.safety.GetAddressOf()))}) {
            ASSERT_EQ(hr, S_OK) << row.call;
        }
        EXPECT_EQ(row.make(e), row.expected) << row.call;
        e = Embedded{};
        EXPECT_EQ(ServerCanUnloadNow(), S_OK) << row.call;
    }
    EXPECT_EQ(refusing.References(), 1);
}

}  // namespace
}  // namespace arn
