#include "platform/win32/com/ComTypeLibraries.h"

#include <initializer_list>
#include <mutex>
#include <vector>

#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

struct Libraries {
    std::mutex lock;
    std::vector<ITypeLib*> list;
};

Libraries& Registered() {
    static Libraries libraries;
    return libraries;
}

// The type of the implemented interface marked with exactly flags (default, or default source).
ITypeInfo* ImplementedType(ITypeInfo* classInfo, UINT count, INT wanted) {
    constexpr INT kMask = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
    for (UINT i = 0; i < count; ++i) {
        INT flags = 0;
        HREFTYPE ref = 0;
        ITypeInfo* info = nullptr;
        if (SUCCEEDED(classInfo->GetImplTypeFlags(i, &flags)) && (flags & kMask) == wanted &&
            SUCCEEDED(classInfo->GetRefTypeOfImplType(i, &ref)) &&
            SUCCEEDED(classInfo->GetRefTypeInfo(ref, &info))) {
            return info;
        }
    }
    return nullptr;
}

bool GuidOf(ITypeInfo* info, IID& out) {
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) {
        return false;
    }
    out = attr->guid;
    info->ReleaseTypeAttr(attr);
    return true;
}

}  // namespace

void ComClassDescription::Release() {
    for (ITypeInfo** info : {&classInfo, &interfaceInfo}) {
        if (*info != nullptr) {
            (*info)->Release();
            *info = nullptr;
        }
    }
}

void AddTypeLibrary(ITypeLib* library) {
    if (library == nullptr) {
        return;
    }
    Libraries& libraries = Registered();
    const std::lock_guard<std::mutex> guard(libraries.lock);
    library->AddRef();
    libraries.list.push_back(library);
}

bool DescribeClass(std::string_view classId, ComClassDescription& out) {
    if (classId.empty()) {
        return false;
    }
    const GUID guid = GuidFromText(classId);
    Libraries& libraries = Registered();
    const std::lock_guard<std::mutex> guard(libraries.lock);
    for (ITypeLib* library : libraries.list) {
        ITypeInfo* classInfo = nullptr;
        if (FAILED(library->GetTypeInfoOfGuid(guid, &classInfo))) {
            continue;
        }
        TYPEATTR* attr = nullptr;
        if (FAILED(classInfo->GetTypeAttr(&attr))) {
            classInfo->Release();
            continue;
        }
        const UINT count = attr->cImplTypes;
        const bool isClass = attr->typekind == TKIND_COCLASS;
        classInfo->ReleaseTypeAttr(attr);
        if (!isClass) {
            classInfo->Release();
            continue;
        }
        ComClassDescription found;
        found.classInfo = classInfo;
        found.interfaceInfo = ImplementedType(classInfo, count, IMPLTYPEFLAG_FDEFAULT);
        if (found.interfaceInfo != nullptr) {
            GuidOf(found.interfaceInfo, found.interfaceId);
        }
        if (ITypeInfo* events =
                ImplementedType(classInfo, count, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) {
            found.hasEvents = GuidOf(events, found.eventInterfaceId);
            events->Release();
        }
        out = found;
        return true;
    }
    return false;
}

}  // namespace arn::win32
