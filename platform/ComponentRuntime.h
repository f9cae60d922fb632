#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace arn {

// Result codes of the component runtime's entry points.
using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);

inline constexpr std::string_view IID_IClassFactory = "{00000001-0000-0000-C000-000000000046}";

// Makes the objects of one class. A component server hands its factory out through
// DllGetClassObject; the factory lives as long as the server is loaded.
class ClassFactory {
  public:
    virtual ~ClassFactory() = default;
    // A new object of the class, initialised.
    virtual std::shared_ptr<void> CreateInstance() = 0;
    // Objects made by this factory that are still alive; the server may unload at 0.
    virtual int32_t LiveObjects() const = 0;
};

// Registration of an in-process class under HKEY_CLASSES_ROOT, as a host finds it:
//   CLSID\{clsid}                  (default) = description
//   CLSID\{clsid}\InprocServer32   (default) = module file
//   CLSID\{clsid}\ProgID           (default) = progId
//   {progId}\CLSID                 (default) = clsid
// Returns S_OK, or SELFREG_E_CLASS when a key could not be written.
HRESULT RegisterInprocServer(std::string_view clsid, std::string_view progId,
                             std::string_view description, const std::string& moduleFile);
// Removes what RegisterInprocServer wrote; absent keys count as removed.
HRESULT UnregisterInprocServer(std::string_view clsid, std::string_view progId);

}  // namespace arn
