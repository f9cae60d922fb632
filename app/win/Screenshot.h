#pragma once

#include <windows.h>

#include <oleacc.h>

#include <ostream>
#include <string>
#include <vector>

namespace arn::winhost {

// Saves the window's client area as it shows on the screen to a 32-bit BMP file (alpha byte
// zero). False when the pixels cannot be read or the file cannot be written.
bool SaveClientBitmap(HWND window, const std::string& path);

// Writes "window W H", then for each named control of the embedded control's accessible
// children "NAME LEFT TOP WIDTH HEIGHT" in client pixels of window (the picture's pixels),
// as a checker of the picture needs them. A control that cannot be located is left out.
void WriteRegions(std::ostream& out, HWND window, IAccessible* control,
                  const std::vector<std::wstring>& names);

}  // namespace arn::winhost
