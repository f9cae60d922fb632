#pragma once

#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>
#include <oleacc.h>

#include <memory>
#include <span>
#include <vector>

#include "core/AutomationObject.h"
#include "core/Event.h"
#include "platform/win32/com/ComConnectionPoint.h"
#include "platform/win32/com/ComFace.h"

namespace arn::win32 {

class ComAccessible;

// Presents an AutomationObject to COM clients: IDispatch (also under the object's automation
// interface id) over its member table, and, when it has an event interface, an
// IConnectionPointContainer with one connection point for it (which EnumConnectionPoints lists,
// as a ComConnectionPointEnumerator); when it has accessible elements, an IAccessible tear-off
// (ComAccessible) of the same identity; and the faces of the kinds it is made with (a dual
// interface's vtable, a host framework's interface), asked before its own interfaces.
//
// Invoke answers DISP_E_MEMBERNOTFOUND for an unknown id or an access the member lacks,
// DISP_E_BADPARAMCOUNT for a wrong argument count, DISP_E_PARAMNOTFOUND for a put without its
// named argument, DISP_E_TYPEMISMATCH (with the argument's index) for an argument the member's
// kind cannot take, and DISP_E_EXCEPTION with EXCEPINFO (number, source, description) for an
// error raised inside the object.
//
// Created with one reference; counts in ComModule from creation to the last Release. Lives in
// the creating apartment: the object and its events are called on that thread only.
//
// Methods take their arguments positionally (DISP_E_NONAMEDARGS otherwise). With class
// information it answers IProvideClassInfo, which is how late-bound hosts find the events by
// name. Every interface it refuses is reported (ReportRefusedInterface).
class ComDispatchObject final : public IDispatch,
                                public IConnectionPointContainer,
                                public IProvideClassInfo {
  public:
    // typeInfo (optional, AddRef'ed here) describes the automation interface to clients,
    // classInfo (optional, AddRef'ed here) the class with its event interface. faces (borrowed,
    // outliving the object: the served class's own) are the kinds of face it offers.
    static ComDispatchObject* Create(std::shared_ptr<AutomationObject> object,
                                     const IID& dispatchIid, const IID* eventIid,
                                     ITypeInfo* typeInfo, ITypeInfo* classInfo = nullptr,
                                     std::span<const ComFaceKind> faces = {});

    // The object presented.
    const std::shared_ptr<AutomationObject>& Object() const { return m_object; }
    // The object of this module that object (any of its interfaces) is, or nullptr when it is
    // someone else's: a client's argument that is one of ours goes back to being itself.
    // Objects of another module that links this library are someone else's too.
    static ComDispatchObject* Ours(IUnknown* object);
    // A container's IOleControl::FreezeEvents, counted: while frozen, the object's events are
    // dropped instead of reaching the sinks.
    void FreezeEvents(bool freeze);

    ComDispatchObject(const ComDispatchObject&) = delete;
    ComDispatchObject& operator=(const ComDispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** ppTI) override;

  private:
    ComDispatchObject(std::shared_ptr<AutomationObject> object, const IID& dispatchIid,
                      const IID* eventIid, ITypeInfo* typeInfo, ITypeInfo* classInfo,
                      std::span<const ComFaceKind> faces);
    ~ComDispatchObject();

    HRESULT InvokeMember(const AutomationMember& member, WORD flags, DISPPARAMS& params,
                         VARIANT* result, UINT* argErr);
    HRESULT InvokeMethod(const AutomationMember& member, DISPPARAMS& params, VARIANT* result,
                         UINT* argErr);
    HRESULT ReturnValue(const Variant& value, VARIANT* result);
    HRESULT Present(const std::shared_ptr<Dispatch>& object, IDispatch** out);
    // The face of kind index, made on first request; nullptr when the object lacks it.
    ComFace* Face(size_t index);
    // The tear-off, made at the first request; nullptr while the object has no elements.
    IAccessible* Accessible();

    LONG m_refs = 1;
    std::shared_ptr<AutomationObject> m_object;
    IID m_dispatchIid;
    bool m_hasEvents;
    ComConnectionPoint m_connectionPoint;
    ITypeInfo* m_typeInfo;
    ITypeInfo* m_classInfo;
    std::span<const ComFaceKind> m_faceKinds;
    // One per kind, in the kinds' order; made says that the kind was asked for already.
    struct MadeFace {
        bool made = false;
        std::unique_ptr<ComFace> face;
    };
    std::vector<MadeFace> m_faces;
    Connection m_eventConnection;
    LONG m_frozen = 0;
    std::unique_ptr<ComAccessible> m_accessible;
};

}  // namespace arn::win32
