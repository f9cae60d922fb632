#include "platform/win32/com/ComAutomationClient.h"

#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

#include "core/ErrorCatalogue.h"
#include "platform/win32/com/ComCounted.h"
#include "platform/win32/com/ComErrors.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComNoTypeInfo.h"
#include "platform/win32/com/ComText.h"
#include "platform/win32/com/ComVariant.h"

namespace arn::win32 {

namespace {

// The arguments of one call in the order Invoke wants them (last first), cleared at the end.
class Arguments {
  public:
    explicit Arguments(const std::vector<Variant>& args) : m_values(args.size()) {
        for (size_t i = 0; i < args.size(); ++i) {
            VARIANT& slot = m_values[args.size() - 1 - i];
            VariantInit(&slot);
            const HRESULT hr = ToComVariant(args[i], &PresentObject, &slot);
            if (FAILED(hr)) {
                // No destructor runs for a constructor that throws: the arguments converted so
                // far (objects presented for the call among them) are let go here.
                Clear();
                throw MakeError(err::TypeMismatch, "ComAutomationClient");
            }
        }
    }
    ~Arguments() { Clear(); }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    VARIANT* data() { return m_values.empty() ? nullptr : m_values.data(); }
    UINT size() const { return static_cast<UINT>(m_values.size()); }

  private:
    // The slots not converted yet are still empty from the vector's construction.
    void Clear() {
        for (VARIANT& value : m_values) {
            VariantClear(&value);
        }
    }

    std::vector<VARIANT> m_values;
};

// Our sink on someone else's connection point: calls the handler for one event. Counted with
// the server's objects, since the source holds it while advised.
class EventSink final : public ComCounted<ComNoTypeInfo<IDispatch>> {
  public:
    EventSink(const IID& eventIid, DISPID dispId, std::function<void()> handler)
        : ComCounted(IID_IDispatch),
          m_eventIid(eventIid),
          m_dispId(dispId),
          m_handler(std::move(handler)) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispId, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        if (dispId == m_dispId && m_handler) {
            // The source is someone else's code: nothing of ours may unwind into it.
            try {
                m_handler();
            } catch (...) {
            }
        }
        return S_OK;
    }

    void Hold(std::shared_ptr<HeldSubscription> subscription) {
        m_subscription = std::move(subscription);
    }

  private:
    bool Offers(REFIID riid) const override { return IsEqualIID(riid, m_eventIid); }

    std::shared_ptr<HeldSubscription> m_subscription;
    IID m_eventIid;
    DISPID m_dispId;
    std::function<void()> m_handler;
};

// The interface id and the dispatch id of an event of object, from its class information.
bool FindEvent(IDispatch* object, const std::wstring& name, IID& eventIid, DISPID& dispId) {
    IProvideClassInfo* provider = nullptr;
    if (FAILED(
            object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider)))) {
        return false;
    }
    ITypeInfo* classInfo = nullptr;
    const HRESULT hr = provider->GetClassInfo(&classInfo);
    provider->Release();
    if (FAILED(hr) || classInfo == nullptr) {
        return false;
    }
    bool found = false;
    TYPEATTR* classAttr = nullptr;
    if (SUCCEEDED(classInfo->GetTypeAttr(&classAttr))) {
        for (UINT i = 0; i < classAttr->cImplTypes && !found; ++i) {
            INT flags = 0;
            HREFTYPE ref = 0;
            ITypeInfo* events = nullptr;
            constexpr INT kDefaultSource = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
            if (FAILED(classInfo->GetImplTypeFlags(i, &flags)) ||
                (flags & kDefaultSource) != kDefaultSource ||
                FAILED(classInfo->GetRefTypeOfImplType(i, &ref)) ||
                FAILED(classInfo->GetRefTypeInfo(ref, &events))) {
                continue;
            }
            TYPEATTR* eventsAttr = nullptr;
            LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
            if (SUCCEEDED(events->GetTypeAttr(&eventsAttr))) {
                eventIid = eventsAttr->guid;
                events->ReleaseTypeAttr(eventsAttr);
                found = SUCCEEDED(events->GetIDsOfNames(names, 1, &dispId));
            }
            events->Release();
            break;  // one default source interface
        }
        classInfo->ReleaseTypeAttr(classAttr);
    }
    classInfo->Release();
    return found;
}

}  // namespace

ComAutomationClient::ComAutomationClient(IDispatch* object) : m_object(object) {
    if (m_object == nullptr) {
        throw MakeError(err::ObjectNotSet, "ComAutomationClient");
    }
    m_object->AddRef();
}

ComAutomationClient::~ComAutomationClient() {
    m_object->Release();
}

DISPID ComAutomationClient::IdOf(std::string_view name) {
    const auto known = m_ids.find(name);
    if (known != m_ids.end()) {
        return known->second;
    }
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        throw MakeError(err::NoSuchMember, "Object", name);
    }
    m_ids.emplace(std::string(name), id);
    return id;
}

Variant ComAutomationClient::Invoke(std::string_view name, WORD flags,
                                    const std::vector<Variant>& args) {
    const DISPID id = IdOf(name);
    Arguments arguments(args);
    DISPID putId = DISPID_PROPERTYPUT;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{arguments.data(), put ? &putId : nullptr, arguments.size(), put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excepInfo{};
    UINT argErr = 0;
    const HRESULT hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                        put ? nullptr : &result, &excepInfo, &argErr);
    if (FAILED(hr)) {
        VariantClear(&result);
        throw ErrorFromInvoke(hr, excepInfo, name);
    }
    Variant value;
    const HRESULT converted = FromComVariant(result, value);
    VariantClear(&result);
    if (FAILED(converted)) {
        throw MakeError(err::TypeMismatch, "Object", name);
    }
    return value;
}

Variant ComAutomationClient::Get(std::string_view name) {
    return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
}

void ComAutomationClient::Put(std::string_view name, const Variant& value) {
    const bool object = std::holds_alternative<std::shared_ptr<Dispatch>>(value);
    Invoke(name, object ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, {value});
}

Variant ComAutomationClient::Call(std::string_view name, const std::vector<Variant>& args) {
    return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

std::shared_ptr<AutomationClient> ComAutomationClient::GetObject(std::string_view name) {
    return ClientOf(Get(name));
}

std::shared_ptr<AutomationClient> ComAutomationClient::CallObject(
    std::string_view name, const std::vector<Variant>& args) {
    return ClientOf(Call(name, args));
}

Connection ComAutomationClient::Subscribe(std::string_view eventName,
                                          std::function<void()> handler) {
    IID eventIid{};
    DISPID dispId = DISPID_UNKNOWN;
    if (!FindEvent(m_object, Widen(eventName), eventIid, dispId)) {
        throw MakeError(err::NoSuchMember, "Object", eventName);
    }
    IConnectionPointContainer* container = nullptr;
    if (FAILED(m_object->QueryInterface(IID_IConnectionPointContainer,
                                        reinterpret_cast<void**>(&container)))) {
        throw MakeError(err::NoSuchMember, "Object", eventName);
    }
    IConnectionPoint* point = nullptr;
    const HRESULT found = container->FindConnectionPoint(eventIid, &point);
    container->Release();
    if (FAILED(found) || point == nullptr) {
        throw MakeError(err::NoSuchMember, "Object", eventName);
    }
    auto* sink = new EventSink(eventIid, dispId, std::move(handler));
    DWORD cookie = 0;
    const HRESULT advised = point->Advise(sink, &cookie);
    if (FAILED(advised)) {
        sink->Release();
        point->Release();
        EXCEPINFO none{};
        throw ErrorFromInvoke(advised, none, eventName);
    }
    // The source holds the sink, the sink the subscription, the subscription the point: the
    // undo that the connection runs unadvises and releases the point, and with it the sink.
    auto subscription = std::make_shared<HeldSubscription>([point, cookie] {
        point->Unadvise(cookie);
        point->Release();
    });
    sink->Hold(subscription);
    sink->Release();
    return subscription->Connect();
}

}  // namespace arn::win32
