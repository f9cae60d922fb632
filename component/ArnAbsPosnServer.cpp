#include "component/ArnAbsPosnServer.h"

#include <memory>
#include <string_view>
#include <vector>

#include "component/ArnAbsPosnComponent.h"
#include "host/UIuserControl.h"
#include "platform/VersionInfo.h"

namespace arn {

namespace {

class ServedClassFactory : public ClassFactory {
  public:
    explicit ServedClassFactory(const ComponentClass& served) : m_served(served) {}

    std::shared_ptr<void> CreateInstance() override {
        auto object = m_served.create();
        std::erase_if(m_made, [](const Made& made) { return !made.Alive(); });
        m_made.push_back({object, object->Facet(IID_UIuserControl)});
        return object;
    }
    // Counts every object still referenced, through the host's reference or its framework
    // interface, which a host holds apart from the object (UIref).
    int32_t LiveObjects() const override {
        int32_t live = 0;
        for (const Made& made : m_made) {
            live += made.Alive() ? 1 : 0;
        }
        return live;
    }

  private:
    struct Made {
        std::weak_ptr<AutomationObject> object;
        std::weak_ptr<AutomationObject> framework;
        bool Alive() const { return !object.expired() || !framework.expired(); }
    };

    const ComponentClass& m_served;
    std::vector<Made> m_made;
};

ServedClassFactory& Factory() {
    static ServedClassFactory factory(ArnAbsPosnComponentClass());
    return factory;
}

}  // namespace

}  // namespace arn

extern "C" {

arn::HRESULT DllRegisterServer() {
    const arn::ComponentClass& served = arn::ArnAbsPosnComponentClass();
    return arn::RegisterInprocServer(served.classId, served.progId, served.description,
                                     arn::AppModuleFile());
}

arn::HRESULT DllUnregisterServer() {
    const arn::ComponentClass& served = arn::ArnAbsPosnComponentClass();
    return arn::UnregisterInprocServer(served.classId, served.progId);
}

arn::HRESULT DllGetClassObject(const char* rclsid, const char* riid, void** ppv) {
    if (ppv == nullptr) {
        return arn::E_POINTER;
    }
    *ppv = nullptr;
    if (rclsid == nullptr || std::string_view(rclsid) != arn::ArnAbsPosnComponentClass().classId) {
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
