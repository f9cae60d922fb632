#include "panel/ArnAbsPosnServer.h"

#include <memory>
#include <string_view>
#include <vector>

#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelIds.h"
#include "platform/VersionInfo.h"

namespace arn {

namespace {

class PanelClassFactory : public ClassFactory {
  public:
    std::shared_ptr<void> CreateInstance() override {
        auto panel = ArnAbsPosnCtl::Create();
        std::erase_if(m_made, [](const auto& made) { return made.expired(); });
        m_made.push_back(panel);
        return panel;
    }
    // Counts every panel still referenced, through the host's reference or any interface of it.
    int32_t LiveObjects() const override {
        int32_t live = 0;
        for (const auto& made : m_made) {
            live += made.expired() ? 0 : 1;
        }
        return live;
    }

  private:
    std::vector<std::weak_ptr<ArnAbsPosnCtl>> m_made;
};

PanelClassFactory& Factory() {
    static PanelClassFactory factory;
    return factory;
}

}  // namespace

}  // namespace arn

extern "C" {

arn::HRESULT DllRegisterServer() {
    return arn::RegisterInprocServer(arn::CLSID_ArnAbsPosnCtl, arn::ProgID_ArnAbsPosnCtl,
                                     arn::ArnAbsPosnCtlDescription, arn::AppModuleFile());
}

arn::HRESULT DllUnregisterServer() {
    return arn::UnregisterInprocServer(arn::CLSID_ArnAbsPosnCtl, arn::ProgID_ArnAbsPosnCtl);
}

arn::HRESULT DllGetClassObject(const char* rclsid, const char* riid, void** ppv) {
    if (ppv == nullptr) {
        return arn::E_POINTER;
    }
    *ppv = nullptr;
    if (rclsid == nullptr || std::string_view(rclsid) != arn::CLSID_ArnAbsPosnCtl) {
        return arn::CLASS_E_CLASSNOTAVAILABLE;
    }
    if (riid == nullptr || std::string_view(riid) != arn::IID_IClassFactory) {
        return arn::E_NOINTERFACE;
    }
    *ppv = static_cast<arn::ClassFactory*>(&arn::Factory());
    return arn::S_OK;
}

arn::HRESULT DllCanUnloadNow() {
    return arn::Factory().LiveObjects() == 0 ? arn::S_OK : arn::S_FALSE;
}

}  // extern "C"
