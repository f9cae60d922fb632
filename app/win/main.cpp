// The Windows host: the ArnAbsPosn control embedded through OLE on the simulated drive (see
// HostWindow). With --screenshot FILE.bmp [--ticks N] it runs N ticks (default 5), saves the
// panel's picture and where its main controls lie, and exits.
#include <windows.h>

#include <ole2.h>
#include <oleacc.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/win/HostWindow.h"
#include "app/win/Screenshot.h"
#include "sim/win32/SimTypeLibrary.h"

namespace {

constexpr int kDefaultTicks = 5;
constexpr int kUsage = 2;
constexpr int kFailure = 1;

int Usage(const char* why) {
    std::cerr << "arn_win: " << why << "\nusage: arn_win [--screenshot FILE.bmp [--ticks N]]\n";
    return kUsage;
}

int Screenshot(arn::winhost::HostWindow& host, const std::string& file, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        host.Tick();
    }
    RedrawWindow(host.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    host.Pump();
    if (!arn::winhost::SaveClientBitmap(host.Window(), file)) {
        std::cerr << "arn_win: cannot save the picture to " << file << "\n";
        return kFailure;
    }
    IAccessible* accessible = nullptr;
    // As a user's tools see the panel: through its window.
    AccessibleObjectFromWindow(host.ControlWindow(), static_cast<DWORD>(OBJID_CLIENT),
                               __uuidof(IAccessible), reinterpret_cast<void**>(&accessible));
    arn::winhost::WriteRegions(std::cout, host.Window(), accessible,
                               {L"EnclosingFrame", L"DisplayMsgLbl", L"fldStatusLED(0)",
                                L"warnTriangle(14)", L"teachingCmd"});
    if (accessible != nullptr) {
        accessible->Release();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string screenshot;
    int ticks = kDefaultTicks;
    bool ticksGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            screenshot = args[++i];
        } else if (args[i] == "--ticks" && i + 1 < args.size()) {
            char* end = nullptr;
            const long n = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || n < 0 || n > 100000) {
                return Usage("--ticks takes a whole number from 0 to 100000");
            }
            ticks = static_cast<int>(n);
            ticksGiven = true;
        } else {
            return Usage(("unknown option " + args[i]).c_str());
        }
    }
    if (ticksGiven && screenshot.empty()) {
        return Usage("--ticks goes with --screenshot");
    }
    if (FAILED(OleInitialize(nullptr)) || !arn::win32::AddSimulatedDriveTypes()) {
        std::cerr << "arn_win: OLE does not start\n";
        return kFailure;
    }
    int status = 0;
    {
        arn::winhost::HostWindow host;
        const HRESULT hr =
            host.Open(screenshot.empty() ? SW_SHOWDEFAULT : SW_SHOWNOACTIVATE, screenshot.empty());
        if (FAILED(hr)) {
            std::cerr << "arn_win: the control does not embed (0x" << std::hex
                      << static_cast<unsigned long>(hr) << std::dec << ")\n";
            if (hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG) {
                std::cerr << "register it first: regsvr32 ArnAbsPosn.dll\n";
            }
            status = kFailure;
        } else {
            status = screenshot.empty() ? host.Run() : Screenshot(host, screenshot, ticks);
        }
    }
    OleUninitialize();
    return status;
}
