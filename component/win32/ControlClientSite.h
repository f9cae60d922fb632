#pragma once

#include <windows.h>

#include <ole2.h>
#include <wrl/client.h>

#include <memory>
#include <string>

namespace arn {
class ArnAbsPosnCtl;
}

namespace arn::win32 {

// The container's client site of one embedded panel and what the panel takes from it: the
// display name (the site's ambient display name, else the object name the container gave
// SetHostNames) and the ambient user mode (true where the site does not say).
//
// Owned by the panel's embedding object; the site reference is held from Set until Set(nullptr)
// or the end of this object. Reading the ambients calls into the container.
class ControlClientSite {
  public:
    explicit ControlClientSite(std::shared_ptr<ArnAbsPosnCtl> panel);

    // Holds site (nullptr releases the one held) and reads its ambient properties.
    void Set(IOleClientSite* site);
    IOleClientSite* Get() const { return m_site.Get(); }
    // The site's interface of that type, nullptr when there is no site or it lacks one.
    template <class Interface>
    Microsoft::WRL::ComPtr<Interface> Query() const {
        Microsoft::WRL::ComPtr<Interface> found;
        if (m_site != nullptr) {
            m_site.As(&found);
        }
        return found;
    }

    // The container's name for the object, used where the site has no ambient display name.
    void SetObjectName(const wchar_t* name);
    // Reads the display name and the user mode again (all ambients changed: DISPID_UNKNOWN).
    void ReadAmbients();
    // The user mode that a quick-activating container hands over with its site.
    void SetUserMode(bool userMode) { m_userMode = userMode; }
    bool UserMode() const { return m_userMode; }

  private:
    // The ambient property id of the site's IDispatch; false when the site does not answer it.
    bool Ambient(DISPID id, VARIANT& value) const;
    void ApplyDisplayName();

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    Microsoft::WRL::ComPtr<IOleClientSite> m_site;
    std::wstring m_objectName;
    bool m_userMode = true;
};

}  // namespace arn::win32
