#include "platform/win32/com/ComAccessible.h"

#include <new>
#include <string>
#include <utility>

#include "draw/Geometry.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

using Role = AccessibleElement::Role;

// Runs a method's body; an error raised inside the object ends the call with E_FAIL, as no
// exception may cross the interface.
template <class Body>
HRESULT Guarded(Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

LONG RoleOf(Role role) {
    switch (role) {
        case Role::Client:
            return ROLE_SYSTEM_CLIENT;
        case Role::PushButton:
            return ROLE_SYSTEM_PUSHBUTTON;
        case Role::CheckButton:
            return ROLE_SYSTEM_CHECKBUTTON;
        case Role::StaticText:
            return ROLE_SYSTEM_STATICTEXT;
        case Role::Graphic:
            return ROLE_SYSTEM_GRAPHIC;
        case Role::Grouping:
            return ROLE_SYSTEM_GROUPING;
        case Role::Text:
            return ROLE_SYSTEM_TEXT;
        case Role::Indicator:
            return ROLE_SYSTEM_INDICATOR;
    }
    return ROLE_SYSTEM_CLIENT;
}

// An element's place, twips on the surface, in a window's client pixels at the window's logical
// resolution, as the window lays out the surface.
class ScreenScale {
  public:
    explicit ScreenScale(HWND hwnd) {
        HDC dc = GetDC(hwnd);
        if (dc != nullptr) {
            m_ppiX = GetDeviceCaps(dc, LOGPIXELSX);
            m_ppiY = GetDeviceCaps(dc, LOGPIXELSY);
            ReleaseDC(hwnd, dc);
        }
    }
    RECT ClientRect(const AccessibleElement& e) const {
        return {MulDiv(e.left, m_ppiX, TwipsPerInch), MulDiv(e.top, m_ppiY, TwipsPerInch),
                MulDiv(e.left + e.width, m_ppiX, TwipsPerInch),
                MulDiv(e.top + e.height, m_ppiY, TwipsPerInch)};
    }

  private:
    int m_ppiX = 96;
    int m_ppiY = 96;
};

bool IsAvailable(const AccessibleElement& element) {
    return element.enabled && element.visible;
}

// Elements a user operates take the keyboard focus while available.
bool TakesFocus(const AccessibleElement& element) {
    return element.role == Role::PushButton || element.role == Role::CheckButton ||
           element.role == Role::Text;
}

LONG StateOf(const AccessibleElement& element) {
    LONG state = 0;
    if (!element.enabled) {
        state |= STATE_SYSTEM_UNAVAILABLE;
    }
    if (!element.visible) {
        state |= STATE_SYSTEM_INVISIBLE;
    }
    if (element.checked) {
        state |= STATE_SYSTEM_CHECKED;
    }
    if (element.mixed) {
        state |= STATE_SYSTEM_MIXED;
    }
    if (IsAvailable(element) && TakesFocus(element)) {
        state |= STATE_SYSTEM_FOCUSABLE;
    }
    return state;
}

// An empty text is no text: S_FALSE with a null string, as the interface reports a property
// that the element lacks.
HRESULT PutText(const std::string& text, BSTR* out) {
    if (text.empty()) {
        return S_FALSE;
    }
    const std::wstring wide = Widen(text);
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void PutLong(LONG value, VARIANT* out) {
    out->vt = VT_I4;
    out->lVal = value;
}

}  // namespace

ComAccessible::ComAccessible(IUnknown* outer, std::shared_ptr<AutomationObject> object)
    : ComOuterUnknown(outer), m_object(std::move(object)) {}

HRESULT ComAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                              UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

template <class Body>
HRESULT ComAccessible::WithChild(const VARIANT& varChild, Body body) const {
    return Guarded([&]() -> HRESULT {
        if (varChild.vt != VT_I4) {
            return E_INVALIDARG;
        }
        const std::vector<AccessibleElement> elements = m_object->AccessibleElements();
        const LONG id = varChild.lVal;
        if (id == CHILDID_SELF) {
            return body(static_cast<const AccessibleElement*>(nullptr));
        }
        if (id < 1 || static_cast<size_t>(id) > elements.size()) {
            return E_INVALIDARG;
        }
        return body(&elements[static_cast<size_t>(id) - 1]);
    });
}

template <class Text>
HRESULT ComAccessible::GetText(const VARIANT& varChild, BSTR* out, Text text) const {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    return WithChild(varChild,
                     [&](const AccessibleElement* element) { return PutText(text(element), out); });
}

HRESULT ComAccessible::Unsupported(const VARIANT& varChild) const {
    return WithChild(varChild, [](const AccessibleElement*) { return DISP_E_MEMBERNOTFOUND; });
}

HWND ComAccessible::Window() const {
    IOleWindow* window = nullptr;
    if (FAILED(Outer()->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))) ||
        window == nullptr) {
        return nullptr;
    }
    HWND hwnd = nullptr;
    if (FAILED(window->GetWindow(&hwnd)) || !IsWindow(hwnd)) {
        hwnd = nullptr;
    }
    window->Release();
    return hwnd;
}

HRESULT ComAccessible::get_accParent(IDispatch** ppdispParent) {
    if (ppdispParent == nullptr) {
        return E_POINTER;
    }
    *ppdispParent = nullptr;
    // Before it is embedded in a window there is no container to name.
    const HWND hwnd = Window();
    if (hwnd == nullptr) {
        return S_FALSE;
    }
    return CreateStdAccessibleObject(hwnd, OBJID_WINDOW, IID_IDispatch,
                                     reinterpret_cast<void**>(ppdispParent));
}

HRESULT ComAccessible::get_accChildCount(long* pcountChildren) {
    if (pcountChildren == nullptr) {
        return E_POINTER;
    }
    *pcountChildren = 0;
    return Guarded([&] {
        *pcountChildren = static_cast<long>(m_object->AccessibleElements().size());
        return S_OK;
    });
}

HRESULT ComAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
    if (ppdispChild == nullptr) {
        return E_POINTER;
    }
    *ppdispChild = nullptr;
    // Every element is a simple child, answered through this object; the object itself is not
    // its own child.
    return WithChild(varChild, [](const AccessibleElement* element) {
        return element != nullptr ? S_FALSE : E_INVALIDARG;
    });
}

HRESULT ComAccessible::get_accName(VARIANT varChild, BSTR* pszName) {
    return GetText(varChild, pszName, [this](const AccessibleElement* element) {
        return element != nullptr ? element->name : m_object->TypeName();
    });
}

HRESULT ComAccessible::get_accValue(VARIANT varChild, BSTR* pszValue) {
    if (pszValue == nullptr) {
        return E_POINTER;
    }
    *pszValue = nullptr;
    return Unsupported(varChild);
}

HRESULT ComAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription) {
    return GetText(varChild, pszDescription, [](const AccessibleElement* element) {
        return element != nullptr ? element->description : std::string();
    });
}

HRESULT ComAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
    if (pvarRole == nullptr) {
        return E_POINTER;
    }
    VariantInit(pvarRole);
    return WithChild(varChild, [&](const AccessibleElement* element) {
        PutLong(element != nullptr ? RoleOf(element->role) : ROLE_SYSTEM_CLIENT, pvarRole);
        return S_OK;
    });
}

HRESULT ComAccessible::get_accState(VARIANT varChild, VARIANT* pvarState) {
    if (pvarState == nullptr) {
        return E_POINTER;
    }
    VariantInit(pvarState);
    return WithChild(varChild, [&](const AccessibleElement* element) {
        PutLong(element != nullptr ? StateOf(*element) : 0, pvarState);
        return S_OK;
    });
}

HRESULT ComAccessible::get_accHelp(VARIANT varChild, BSTR* pszHelp) {
    return GetText(varChild, pszHelp, [](const AccessibleElement*) { return std::string(); });
}

HRESULT ComAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) {
    if (pszHelpFile == nullptr || pidTopic == nullptr) {
        return E_POINTER;
    }
    *pszHelpFile = nullptr;
    *pidTopic = 0;
    return Unsupported(varChild);
}

HRESULT ComAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) {
    return GetText(varChild, pszKeyboardShortcut,
                   [](const AccessibleElement*) { return std::string(); });
}

HRESULT ComAccessible::get_accFocus(VARIANT* pvarChild) {
    if (pvarChild == nullptr) {
        return E_POINTER;
    }
    // Without a window nothing here holds the keyboard focus.
    VariantInit(pvarChild);
    return S_FALSE;
}

HRESULT ComAccessible::get_accSelection(VARIANT* pvarChildren) {
    if (pvarChildren == nullptr) {
        return E_POINTER;
    }
    VariantInit(pvarChildren);
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT ComAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) {
    return GetText(varChild, pszDefaultAction, [](const AccessibleElement* element) {
        return element != nullptr ? element->defaultAction : std::string();
    });
}

HRESULT ComAccessible::accSelect(long, VARIANT varChild) {
    return Unsupported(varChild);
}

HRESULT ComAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                   VARIANT varChild) {
    if (pxLeft == nullptr || pyTop == nullptr || pcxWidth == nullptr || pcyHeight == nullptr) {
        return E_POINTER;
    }
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    // The elements have no place on the screen until the object shows in a window.
    const HWND hwnd = Window();
    if (hwnd == nullptr) {
        return Unsupported(varChild);
    }
    return WithChild(varChild, [&](const AccessibleElement* element) {
        RECT r{};
        if (element == nullptr) {
            GetWindowRect(hwnd, &r);
        } else {
            r = ScreenScale(hwnd).ClientRect(*element);
            MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
        }
        *pxLeft = r.left;
        *pyTop = r.top;
        *pcxWidth = r.right - r.left;
        *pcyHeight = r.bottom - r.top;
        return S_OK;
    });
}

HRESULT ComAccessible::accNavigate(long, VARIANT varStart, VARIANT* pvarEndUpAt) {
    if (pvarEndUpAt == nullptr) {
        return E_POINTER;
    }
    VariantInit(pvarEndUpAt);
    return Unsupported(varStart);
}

HRESULT ComAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild) {
    if (pvarChild == nullptr) {
        return E_POINTER;
    }
    VariantInit(pvarChild);
    const HWND hwnd = Window();
    if (hwnd == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    POINT at{xLeft, yTop};
    ScreenToClient(hwnd, &at);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (!PtInRect(&client, at)) {
        return S_FALSE;
    }
    return Guarded([&] {
        const std::vector<AccessibleElement> elements = m_object->AccessibleElements();
        const ScreenScale scale(hwnd);
        pvarChild->vt = VT_I4;
        pvarChild->lVal = CHILDID_SELF;
        // The topmost: later elements lie over earlier ones, content over its container.
        for (size_t i = elements.size(); i-- > 0;) {
            const RECT r = scale.ClientRect(elements[i]);
            if (elements[i].visible && PtInRect(&r, at)) {
                pvarChild->lVal = static_cast<LONG>(i + 1);
                break;
            }
        }
        return S_OK;
    });
}

HRESULT ComAccessible::accDoDefaultAction(VARIANT varChild) {
    return WithChild(varChild, [&](const AccessibleElement* element) {
        if (element == nullptr || !element->doDefaultAction || !IsAvailable(*element)) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // The action's handlers may let the client's last reference go.
        Outer()->AddRef();
        const HRESULT result = Guarded([&] {
            element->doDefaultAction();
            return S_OK;
        });
        Outer()->Release();
        return result;
    });
}

HRESULT ComAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT ComAccessible::put_accValue(VARIANT varChild, BSTR) {
    return Unsupported(varChild);
}

}  // namespace arn::win32
