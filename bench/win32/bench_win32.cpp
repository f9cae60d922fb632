// The control as a Windows host uses it, timed: a full repaint of the bound panel through
// IViewObject2::Draw into a memory device context, and a property get through IDispatch::Invoke
// by dispatch id against the same get through the dual vtable. Prints the median of seven runs
// of each, and the ratio. Needs the control registered (regsvr32 ArnAbsPosn.dll).
#include <windows.h>

#include <ole2.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>

#include "ArnAbsPosnIdl.h"
#include "component/win32/ComUIuserControl.h"
#include "platform/win32/com/ComTypeLibraries.h"
#include "platform/win32/com/ComVariant.h"
#include "sim/SimNet.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNodeAutomation.h"
#include "sim/win32/SimTypeLibrary.h"

namespace {

constexpr int kRuns = 7;
constexpr DISPID kEnabled = 0x68030000;
constexpr DISPID kUIref = 0x68030002;
// The panel's design size in twips, drawn at 96 pixels an inch.
constexpr int kWidthPixels = 10155 * 96 / 1440;
constexpr int kHeightPixels = 4350 * 96 / 1440;
constexpr double kDrawGoalMs = 2.0;
constexpr double kInvokeGoalRatio = 3.0;

// Median nanoseconds of one call of work, over kRuns runs of iterations calls.
double MedianNs(int iterations, const std::function<void()>& work) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::array<double, kRuns> runs{};
    work();  // warm caches and first-use paths outside the timing
    for (double& run : runs) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < iterations; ++i) {
            work();
        }
        QueryPerformanceCounter(&end);
        run = static_cast<double>(end.QuadPart - start.QuadPart) * 1e9 /
              static_cast<double>(frequency.QuadPart) / iterations;
    }
    std::sort(runs.begin(), runs.end());
    return runs[kRuns / 2];
}

template <class T>
T* Query(IUnknown* object, REFIID iid) {
    T* face = nullptr;
    object->QueryInterface(iid, reinterpret_cast<void**>(&face));
    return face;
}

int Run() {
    CLSID clsid{};
    IDispatch* panel = nullptr;
    if (FAILED(CLSIDFromProgID(L"ArnAbsPosn.ArnAbsPosnCtl", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&panel)))) {
        std::fprintf(stderr, "bench_win32: register the control first: regsvr32 ArnAbsPosn.dll\n");
        return 1;
    }
    // Bound to the simulated drive and enabled, as a host shows it.
    auto net = arn::SimNet::Create();
    auto node = net->CreateNode();
    IDispatch* hostNet = nullptr;
    IDispatch* hostNode = nullptr;
    arn::win32::PresentObject(arn::SimNetAutomation::Create(net), &hostNet);
    arn::win32::PresentObject(arn::SimNodeAutomation::Create(node), &hostNode);
    VARIANT ref;
    VariantInit(&ref);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    panel->Invoke(kUIref, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &ref, nullptr,
                  nullptr);
    auto* framework =
        Query<arn::win32::UIuserControlInterface>(ref.pdispVal, arn::win32::UIuserControlIid());
    VariantClear(&ref);
    BSTR empty = SysAllocString(L"");
    framework->AttachControl(hostNet, hostNode, nullptr, empty, empty);
    SysFreeString(empty);
    auto* dual = Query<_ArnAbsPosnCtl>(panel, __uuidof(_ArnAbsPosnCtl));
    dual->put_Enabled(VARIANT_TRUE);
    net->Tick();
    net->Tick();

    int status = 0;
    auto* view = Query<IViewObject2>(panel, IID_IViewObject2);
    if (view != nullptr) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidthPixels, kHeightPixels);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const RECTL bounds{0, 0, kWidthPixels, kHeightPixels};
        HRESULT drawn = S_OK;
        const double drawNs = MedianNs(50, [&] {
            drawn = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds,
                               nullptr, nullptr, 0);
        });
        std::printf(
            "full repaint, IViewObject2::Draw into a memory DC  %9.3f ms  (goal < %.0f ms)%s\n",
            drawNs / 1e6, kDrawGoalMs, SUCCEEDED(drawn) ? "" : "  FAILED");
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        view->Release();
    } else {
        std::printf("full repaint: the control offers no IViewObject2\n");
        status = 1;
    }

    const double invokeNs = MedianNs(200000, [&] {
        VARIANT result;
        VariantInit(&result);
        panel->Invoke(kEnabled, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                      nullptr, nullptr);
    });
    const double vtableNs = MedianNs(200000, [&] {
        VARIANT_BOOL enabled = VARIANT_FALSE;
        dual->get_Enabled(&enabled);
    });
    std::printf("Enabled through IDispatch::Invoke by id             %9.1f ns\n", invokeNs);
    std::printf("Enabled through the dual vtable                     %9.1f ns\n", vtableNs);
    std::printf("ratio Invoke / vtable                               %9.2f    (goal < %.0f)\n",
                invokeNs / vtableNs, kInvokeGoalRatio);

    framework->ReleaseControl();
    framework->Release();
    dual->Release();
    panel->Release();
    hostNode->Release();
    hostNet->Release();
    return status;
}

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr)) || !arn::win32::AddSimulatedDriveTypes()) {
        std::fprintf(stderr, "bench_win32: OLE does not start\n");
        return 1;
    }
    const int status = Run();
    OleUninitialize();
    return status;
}
