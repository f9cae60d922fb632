#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string_view>

namespace arn::win32 {

// A class as a type library describes it: the coclass, its default interface and its default
// source (event) interface. Each ITypeInfo is referenced; Release drops them.
struct ComClassDescription {
    ITypeInfo* classInfo = nullptr;
    ITypeInfo* interfaceInfo = nullptr;
    IID interfaceId = IID_IDispatch;
    IID eventInterfaceId = IID_NULL;
    bool hasEvents = false;

    void Release();
};

// The type libraries this module presents objects with: an object whose ClassId one of them
// describes gets that description (type information, class information and its connection
// point) when it is handed to a client. A library stays referenced until the module unloads.
void AddTypeLibrary(ITypeLib* library);

// Fills out from the first library that describes classId; false when none does.
bool DescribeClass(std::string_view classId, ComClassDescription& out);

}  // namespace arn::win32
