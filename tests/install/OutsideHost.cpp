// A host outside the source tree: attaches the panel to the simulated drive, lets the first
// tick bind it, and prints what a host would show, for the install test to compare. Then it
// asks the component's server for an object, as a host that loads the component does.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "component/ArnAbsPosnServer.h"
#include "core/AutomationObject.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelIds.h"
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

        void* factory = nullptr;
        if (DllGetClassObject(std::string(arn::CLSID_ArnAbsPosnCtl).c_str(),
                              std::string(arn::IID_IClassFactory).c_str(), &factory) != arn::S_OK) {
            throw std::runtime_error("no class factory");
        }
        auto served = std::static_pointer_cast<arn::AutomationObject>(
            static_cast<arn::ClassFactory*>(factory)->CreateInstance());
        std::printf("served: %s Enabled=%s\n", served->TypeName().c_str(),
                    arn::VariantToBool(served->GetProperty("Enabled")) ? "yes" : "no");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "outside_host: %s\n", e.what());
        return 1;
    }
    return 0;
}
