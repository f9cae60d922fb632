#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/Dictionary.h"

namespace arn {

class Dispatch;

// "major.minor.revision", CR LF, the folder the library was loaded from, "/", and the
// library's file name without extension.
std::string AppVersionText();

// text with every occurrence of the parent of the library's folder (with its trailing "/")
// removed, so that paths read relative to it.
std::string AppRelativePath(std::string_view text);

// Lays out a version text of CR LF separated parts as lines of two columns: each line is CR
// LF, eight blanks, a part padded to eight characters (a longer part is kept whole) and the
// part after it. A text of fewer than three parts is returned as it is. With relative, paths
// are first made relative (AppRelativePath).
std::string FormatVersionList(std::string_view text, bool relative);

// Adds the version text of a control of the host framework's own kinds ("ParamRadioGrpEditor",
// "nTextBox", "LEDcontrol", "ParamRadioEditor", "RadioEditor") to versions, once per type name,
// laid out by FormatVersionList. Other kinds are skipped. A failure (no UIuserControl, a
// failing read, no dictionary) is reported as a trace line only.
void ctlAddArnwellCtlVersInfo(const std::shared_ptr<Dictionary<std::string>>& versions,
                              Dispatch* control);

}  // namespace arn
