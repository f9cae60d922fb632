#pragma once

#include <string>

namespace arn::test {

// Windows only: points HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT of this
// process at fresh keys below HKEY_CURRENT_USER\Software\ArnAbsPosnTest\<random>, so that
// registry tests run on the system's registry without touching anything else in it. The
// destructor puts the roots back and deletes the random key with everything in it, whatever
// the test left behind; ArnAbsPosnTest goes too once it is empty.
class SystemRegistrySandbox {
  public:
    SystemRegistrySandbox();
    ~SystemRegistrySandbox();
    SystemRegistrySandbox(const SystemRegistrySandbox&) = delete;
    SystemRegistrySandbox& operator=(const SystemRegistrySandbox&) = delete;

  private:
    static constexpr const char* kParent = "Software\\ArnAbsPosnTest";

    // Puts the roots back and deletes the random key.
    void Remove();

    std::string m_path;
};

}  // namespace arn::test
