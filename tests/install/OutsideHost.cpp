// A host outside the source tree: attaches the panel to the simulated drive, lets the first
// tick bind it, and prints what a host would show, for the install test to compare.
#include <cstdio>
#include <exception>
#include <string>

#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"

int main() {
    try {
        auto net = arn::SimNet::Create();
        auto node = net->CreateNode();
        auto panel = arn::ArnAbsPosnCtl::Create();
        auto ui = panel->get_UIref();
        ui->AttachControl(net, node, nullptr, "", "");
        // Binding waits for the tick, so the design caption still shows here.
        std::printf("attached: inALbl=\"%s\"\n",
                    panel->NamedControls().inALbl->get_Caption().c_str());
        net->Tick();
        panel->put_Enabled(true);
        const auto& ctl = panel->NamedControls();
        std::printf("bound: positions=%d inALbl=\"%s\" frame=\"%s\"\n", panel->NumPosns(),
                    ctl.inALbl->get_Caption().c_str(),
                    ctl.posnSettingsFrame->get_Caption().c_str());
        // The version text names the loaded component, which must be the installed one.
        std::string version = ui->get_VersionStr();
        for (auto& c : version) {
            c = c == '\r' || c == '\n' ? ' ' : c;
        }
        std::printf("version: %s\n", version.c_str());
        ui->ReleaseControl();
        std::printf("released: attached=%s\n", panel->IsAttached() ? "yes" : "no");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "outside_host: %s\n", e.what());
        return 1;
    }
    return 0;
}
