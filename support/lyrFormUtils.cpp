#include "support/lyrFormUtils.h"

#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <vector>

#include "core/ArnError.h"
#include "core/Dispatch.h"
#include "core/ErrorCatalogue.h"
#include "host/UIuserControl.h"
#include "platform/VersionInfo.h"
#include "support/DebuggingFlags.h"
#include "support/Format.h"

namespace arn {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr size_t kColumn = 8;

bool IsArnwellControlType(std::string_view type) {
    for (std::string_view name :
         {"ParamRadioGrpEditor", "nTextBox", "LEDcontrol", "ParamRadioEditor", "RadioEditor"}) {
        if (type == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string AppVersionText() {
    return CStr(AppMajor()) + "." + CStr(AppMinor()) + "." + CStr(AppRevision()) +
           std::string(kCrLf) + AppPath() + AppPathSeparator() + AppEXEName();
}

std::string AppRelativePath(std::string_view text) {
    std::error_code ec;
    std::string folder = std::filesystem::absolute(AppPath(), ec).string();
    if (ec) {
        folder = AppPath();
    }
    const size_t slash = folder.rfind(AppPathSeparator());
    const std::string parent =
        slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    std::string result(text);
    if (parent.empty()) {
        return result;
    }
    size_t pos = 0;
    while ((pos = result.find(parent, pos)) != std::string::npos) {
        result.erase(pos, parent.size());
    }
    return result;
}

std::string FormatVersionList(std::string_view text, bool relative) {
    const std::string source = relative ? AppRelativePath(text) : std::string(text);
    const std::vector<std::string_view> parts = SplitAtCrLf(source);
    if (parts.size() < 3) {
        return source;
    }
    std::string result;
    for (size_t i = 0; i < parts.size(); i += 2) {
        result.append(kCrLf);
        result.append(kColumn, ' ');
        result.append(parts[i]);
        if (parts[i].size() < kColumn) {
            result.append(kColumn - parts[i].size(), ' ');
        }
        if (i + 1 < parts.size()) {
            result.append(parts[i + 1]);
        }
    }
    return result;
}

void ctlAddArnwellCtlVersInfo(const std::shared_ptr<Dictionary<std::string>>& versions,
                              Dispatch* control) {
    if (control == nullptr) {
        return;  // no control has no type of the framework's own
    }
    std::string type;
    try {
        type = control->TypeName();
        if (!IsArnwellControlType(type)) {
            return;
        }
        if (!versions) {
            throw MakeError(err::ObjectNotSet, "lyrFormUtils");
        }
        if (versions->Exists(type)) {
            return;
        }
        auto* framework = dynamic_cast<UIuserControl*>(control);
        if (framework == nullptr) {
            throw MakeError(err::TypeMismatch, "lyrFormUtils");
        }
        versions->Add(type, FormatVersionList(framework->get_VersionStr(), true));
    } catch (const std::exception& e) {
        DebugOutput(
            "ctlAddArnwellCtlVersInfo: caught err: " + ErrDescription(e) + ", control=" + type,
            TraceLevelAlways);
    }
}

}  // namespace arn
