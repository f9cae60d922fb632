#pragma once

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <vector>

#include "core/AccessibleElement.h"
#include "core/AutomationObject.h"
#include "platform/win32/com/ComNoTypeInfo.h"
#include "platform/win32/com/ComOuterUnknown.h"

namespace arn::win32 {

// The IAccessible tear-off of a presented object: the object itself is the client element
// (CHILDID_SELF, named by its type name) and its AccessibleElements are simple children with
// the VT_I4 child ids 1..n in their order. Every call reads a fresh snapshot, so the ids
// follow the object's user interface as it is at the call.
//
// Its IUnknown is the outer object's (one identity; QueryInterface, AddRef and Release go
// there), and the outer object owns it: it lives exactly as long as the outer does. No
// exception leaves a method: an error raised inside the object answers E_FAIL.
//
// Results beyond S_OK: E_POINTER for a missing out pointer, E_INVALIDARG for a child id that is
// not a VT_I4 naming the object or one of its elements, S_FALSE for a name, description or
// default action the element lacks, DISP_E_MEMBERNOTFOUND from accDoDefaultAction for an element
// without an action or one that is unavailable (disabled or hidden) at the call. The object has
// no focus, selection, value or help, so those members answer as the interface defines for
// objects that lack them.
//
// Once the outer object shows its surface in a window (it answers IOleWindow with one), the
// elements have places on the screen: accLocation maps an element's place (twips on the surface,
// at the window's logical resolution) to screen pixels, accHitTest finds the topmost shown
// element under a screen point, and the parent is the window. Without a window those members
// answer DISP_E_MEMBERNOTFOUND (the parent: none).
class ComAccessible final : public ComOuterUnknown<ComNoTypeInfo<IAccessible>> {
  public:
    // outer is not counted here: it owns this tear-off.
    ComAccessible(IUnknown* outer, std::shared_ptr<AutomationObject> object);

    // No type information; Invoke reaches no member (clients call the vtable).
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* pcountChildren) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild,
                                               long* pidTopic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild,
                                                      BSTR* pszKeyboardShortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild,
                                                   BSTR* pszDefaultAction) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flagsSelect, VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* pxLeft, long* pyTop, long* pcxWidth,
                                          long* pcyHeight, VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long navDir, VARIANT varStart,
                                          VARIANT* pvarEndUpAt) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT varChild, BSTR szName) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varChild, BSTR szValue) override;

  private:
    // The window that shows the object now, or null.
    HWND Window() const;
    // Runs body(element) with the element varChild names in the object's elements now (nullptr
    // for the object itself), guarded: E_INVALIDARG when varChild names neither, E_FAIL (or
    // E_OUTOFMEMORY) for an error raised inside, as no exception may cross the interface.
    template <class Body>
    HRESULT WithChild(const VARIANT& varChild, Body body) const;
    // E_INVALIDARG for a child id that names nothing, else DISP_E_MEMBERNOTFOUND: what a
    // member that neither the object nor its elements support answers.
    HRESULT Unsupported(const VARIANT& varChild) const;
    // A text of the object or of the element varChild names.
    template <class Text>
    HRESULT GetText(const VARIANT& varChild, BSTR* out, Text text) const;

    std::shared_ptr<AutomationObject> m_object;
};

}  // namespace arn::win32
