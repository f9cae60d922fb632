#pragma once

#include <cstdint>
#include <string_view>

namespace arn {

// Identity of the control class as the component runtime registers it.
inline constexpr std::string_view CLSID_ArnAbsPosnCtl = "{97D5A33E-9989-4B43-8E04-3A593F4590A5}";
inline constexpr std::string_view IID__ArnAbsPosnCtl = "{13F4AFE4-ED9A-4FFB-8E97-D121B0B7621D}";
inline constexpr std::string_view DIID___ArnAbsPosnCtl = "{64ADED80-515F-4C80-B743-46754D807E87}";
inline constexpr std::string_view ArnAbsPosnCtlDescription = "Arnwell ZPR Absolute Position Panel";
inline constexpr std::string_view ProgID_ArnAbsPosnCtl = "ArnAbsPosn.ArnAbsPosnCtl";
// The type library that describes both interfaces (component/win32/ArnAbsPosn.idl), 1.0.
inline constexpr std::string_view LIBID_ArnAbsPosn = "{7A6994E4-8CF9-48FC-A3B9-31247647B340}";

// Dispatch ids of the automation properties.
inline constexpr int32_t DISPID_Enabled = 0x68030000;
inline constexpr int32_t DISPID_DisplayMsg = 0x68030001;
inline constexpr int32_t DISPID_UIref = 0x68030002;
inline constexpr int32_t DISPID_Show = 0x68030003;
inline constexpr int32_t DISPID_UIuserControl_MyForms = 0x68030007;

// Dispatch ids of the events.
inline constexpr int32_t DISPID_ShowHoming = 1;
inline constexpr int32_t DISPID_ShowTrqLim = 2;
inline constexpr int32_t DISPID_Show16Posns = 3;
inline constexpr int32_t DISPID_ShowJerkLim = 4;
inline constexpr int32_t DISPID_ShowTeachingDlg = 5;

}  // namespace arn
