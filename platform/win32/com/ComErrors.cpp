#include "platform/win32/com/ComErrors.h"

#include <cstdio>
#include <string>

#include "core/ErrorCatalogue.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

std::string TakeText(BSTR& text) {
    std::string narrow = text != nullptr ? Narrow(text, SysStringLen(text)) : std::string();
    SysFreeString(text);
    text = nullptr;
    return narrow;
}

int32_t NumberOfResult(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) {
        return HRESULT_CODE(hr);
    }
    return static_cast<int32_t>(hr);
}

}  // namespace

HRESULT ErrorResult(int32_t number) {
    if (number < 0) {
        return static_cast<HRESULT>(number);
    }
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
}

ArnError ErrorFromInvoke(HRESULT hr, EXCEPINFO& excepInfo, std::string_view member) {
    const std::string name(member);
    switch (hr) {
        case DISP_E_EXCEPTION: {
            if (excepInfo.pfnDeferredFillIn != nullptr) {
                excepInfo.pfnDeferredFillIn(&excepInfo);
            }
            const int32_t number =
                excepInfo.wCode != 0 ? excepInfo.wCode : NumberOfResult(excepInfo.scode);
            std::string source = TakeText(excepInfo.bstrSource);
            std::string description = TakeText(excepInfo.bstrDescription);
            SysFreeString(excepInfo.bstrHelpFile);
            excepInfo = EXCEPINFO{};
            return ArnError(number, source.empty() ? name : source, description);
        }
        case DISP_E_MEMBERNOTFOUND:
        case DISP_E_UNKNOWNNAME:
            return MakeError(err::NoSuchMember, "Object", name);
        case DISP_E_BADPARAMCOUNT:
        case DISP_E_PARAMNOTOPTIONAL:
            return MakeError(err::WrongArguments, "Object", name);
        case DISP_E_PARAMNOTFOUND:
            return MakeError(err::NamedArgumentNotFound, "Object", name);
        case DISP_E_NONAMEDARGS:
            return MakeError(err::NoNamedArguments, "Object", name);
        case DISP_E_TYPEMISMATCH:
            return MakeError(err::TypeMismatch, "Object", name);
        case DISP_E_OVERFLOW:
            return MakeError(err::Overflow, "Object", name);
        default: {
            char text[48];
            std::snprintf(text, sizeof(text), "Automation error 0x%08lX",
                          static_cast<unsigned long>(hr));
            return ArnError(NumberOfResult(hr), name, text);
        }
    }
}

}  // namespace arn::win32
