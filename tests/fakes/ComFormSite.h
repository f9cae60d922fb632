#pragma once

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

namespace arn::test {

// A strict form host's site for one control: the client site, the in-place site on a real
// parent window (with itself as the in-place frame), the ambient properties (display name, user
// mode) on its IDispatch, and the advise sink for the object and its view. Records the calls
// the control makes, in order. With refuseAll it answers IUnknown and IOleClientSite only, and
// no ambient. Lives on the test's stack; its count only shows what the control still holds.
// Its display name is FormPanel1; it starts in user mode.
class ComFormSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDispatch,
                          public IAdviseSinkEx {
  public:
    ComFormSite(HWND parent, RECT position, bool refuseAll = false)
        : m_parent(parent), m_position(position), m_refuseAll(refuseAll) {}

    const std::vector<std::string>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    LONG References() const { return m_refs; }
    IOleInPlaceActiveObject* Active() const { return m_active.Get(); }
    void SetUserMode(bool userMode) { m_userMode = userMode; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite)) {
            *ppv = static_cast<IOleClientSite*>(this);
        } else if (m_refuseAll) {
            return E_NOINTERFACE;
        } else if (IsEqualIID(riid, IID_IOleInPlaceSite) || IsEqualIID(riid, IID_IOleWindow)) {
            *ppv = static_cast<IOleInPlaceSite*>(this);
        } else if (IsEqualIID(riid, IID_IOleInPlaceFrame) ||
                   IsEqualIID(riid, IID_IOleInPlaceUIWindow)) {
            *ppv = static_cast<IOleInPlaceFrame*>(this);
        } else if (IsEqualIID(riid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
        } else if (IsEqualIID(riid, IID_IAdviseSink) || IsEqualIID(riid, IID_IAdviseSinkEx)) {
            *ppv = static_cast<IAdviseSinkEx*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--m_refs); }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return Call("SaveObject", S_OK); }
    // The control asks for neither a moniker nor a container.
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return Call("ShowObject", S_OK); }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, for the in-place site and the frame alike
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = m_parent;
        return Call("GetWindow", S_OK);
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override {
        return Call("CanInPlaceActivate", S_OK);
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
        return Call("OnInPlaceActivate", S_OK);
    }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return Call("OnUIActivate", S_OK); }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                               IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = this;
        AddRef();
        *document = nullptr;
        *position = *clip = m_position;
        *info = {sizeof(OLEINPLACEFRAMEINFO), FALSE, m_parent, nullptr, 0};
        return Call("GetWindowContext", S_OK);
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return Call("OnUIDeactivate", S_OK); }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
        return Call("OnInPlaceDeactivate", S_OK);
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        m_active = active;
        return Call(active != nullptr ? "SetActiveObject" : "SetActiveObject(null)", S_OK);
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the ambient properties
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (id == DISPID_AMBIENT_USERMODE) {
            result->vt = VT_BOOL;
            result->boolVal = m_userMode ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        }
        if (id == DISPID_AMBIENT_DISPLAYNAME) {
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(L"FormPanel1");
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    // IAdviseSink and IAdviseSinkEx
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { Call("OnViewChange", S_OK); }
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override { Call("OnClose", S_OK); }
    void STDMETHODCALLTYPE OnViewStatusChange(DWORD) override {}

  private:
    HRESULT Call(const char* name, HRESULT result) { return m_calls.emplace_back(name), result; }

    HWND m_parent;
    RECT m_position;
    bool m_refuseAll;
    bool m_userMode = true;
    LONG m_refs = 1;
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> m_active;
    std::vector<std::string> m_calls;
};

// A form's property bag for one control: values by name, as the form saves them.
class ComFormPropertyBag final : public IPropertyBag {
  public:
    ~ComFormPropertyBag() {
        for (auto& [name, value] : m_values) {
            VariantClear(&value);
        }
    }
    // The value saved under name, as a number; -1 when there is none.
    LONG Number(const std::wstring& name) const {
        const auto found = m_values.find(name);
        return found != m_values.end() && found->second.vt == VT_I4 ? found->second.lVal : -1;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv =
            IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyBag) ? this : nullptr;
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        const auto found = m_values.find(name);
        if (found == m_values.end()) {
            return E_INVALIDARG;
        }
        VariantClear(value);
        return VariantCopy(value, &found->second);
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        VARIANT& slot = m_values[name];
        VariantClear(&slot);
        return VariantCopy(&slot, value);
    }

  private:
    std::map<std::wstring, VARIANT> m_values;
};

}  // namespace arn::test
