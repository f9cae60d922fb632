#include <gtest/gtest.h>

#include <string>

#include "component/ArnAbsPosnServer.h"
#include "fakes/RegistryTestSupport.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/PanelAutomation.h"
#include "panel/PanelIds.h"
#include "platform/registry/RegistryApi.h"
#include "support/CRegistry.h"

namespace arn {
namespace {

std::string DefaultValue(const std::string& path) {
    CRegistry reg;
    std::string key = path;
    reg.OpenKey(HKEY_CLASSES_ROOT, key, false);
    return reg.ReadValue("", "<missing>");
}

TEST(ComponentServer, RegistersAndUnregistersTheControlClass) {
    const test::ScopedFreshRegistry registry;
    ASSERT_EQ(DllRegisterServer(), S_OK);
    const std::string classKey = "CLSID\\" + std::string(CLSID_ArnAbsPosnCtl);
    EXPECT_EQ(DefaultValue(classKey), ArnAbsPosnCtlDescription);
    EXPECT_EQ(DefaultValue(classKey + "\\ProgID"), ProgID_ArnAbsPosnCtl);
    EXPECT_EQ(DefaultValue(std::string(ProgID_ArnAbsPosnCtl) + "\\CLSID"), CLSID_ArnAbsPosnCtl);
    EXPECT_FALSE(DefaultValue(classKey + "\\InprocServer32").empty());

    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(DefaultValue(classKey), "<missing>");
    EXPECT_EQ(DefaultValue(std::string(ProgID_ArnAbsPosnCtl) + "\\CLSID"), "<missing>");
}

TEST(ComponentServer, ClassFactoryMakesPanelsAndTracksThem) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(DllGetClassObject("{00000000-0000-0000-0000-000000000000}",
                                std::string(IID_IClassFactory).c_str(), &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(DllGetClassObject(std::string(CLSID_ArnAbsPosnCtl).c_str(), "{bad}", &object),
              E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(nullptr, nullptr, nullptr), E_POINTER);

    ASSERT_EQ(DllGetClassObject(std::string(CLSID_ArnAbsPosnCtl).c_str(),
                                std::string(IID_IClassFactory).c_str(), &object),
              S_OK);
    auto* factory = static_cast<ClassFactory*>(object);
    // The same object as the Windows server presents: the panel's automation object.
    auto made = std::static_pointer_cast<PanelAutomation>(factory->CreateInstance());
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made->Panel()->InputsObject(), nullptr);  // initialised
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);

    // An interface the host still holds keeps the server loaded.
    Variant ui = made->GetProperty("UIref");
    made.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    ui = Variant();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace arn
