#include "app/win/Screenshot.h"

#include <fstream>

namespace arn::winhost {

namespace {

constexpr WORD kBitmapMagic = 0x4D42;  // "BM"
constexpr DWORD kAlphaMask = 0x00FFFFFF;

VARIANT ChildId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The accessible child whose description starts with the control's name, 0 when none does.
LONG FindControl(IAccessible* accessible, const std::wstring& name) {
    long count = 0;
    accessible->get_accChildCount(&count);
    for (LONG id = 1; id <= count; ++id) {
        BSTR text = nullptr;
        if (accessible->get_accDescription(ChildId(id), &text) == S_OK && text != nullptr) {
            const std::wstring description(text);
            SysFreeString(text);
            if (description == name || description.rfind(name + L":", 0) == 0) {
                return id;
            }
        } else {
            SysFreeString(text);
        }
    }
    return 0;
}

}  // namespace

bool SaveClientBitmap(HWND window, const std::string& path) {
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as a BMP file stores its rows
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    ReleaseDC(window, screen);
    DeleteDC(memory);
    if (!copied) {
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
        return false;
    }
    auto* pixels = static_cast<DWORD*>(bits);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) {
        pixels[i] &= kAlphaMask;
    }
    header.biSizeImage = static_cast<DWORD>(count * sizeof(DWORD));
    BITMAPFILEHEADER file{};
    file.bfType = kBitmapMagic;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(header.biSizeImage));
    DeleteObject(bitmap);
    return static_cast<bool>(out);
}

void WriteRegions(std::ostream& out, HWND window, IAccessible* control,
                  const std::vector<std::wstring>& names) {
    RECT client{};
    GetClientRect(window, &client);
    out << "window " << client.right << " " << client.bottom << "\n";
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    for (const auto& name : names) {
        const LONG child = control != nullptr ? FindControl(control, name) : 0;
        long left = 0, top = 0, width = 0, height = 0;
        if (child == 0 ||
            control->accLocation(&left, &top, &width, &height, ChildId(child)) != S_OK) {
            continue;
        }
        out << std::string(name.begin(), name.end()) << " " << left - origin.x << " "
            << top - origin.y << " " << width << " " << height << "\n";
    }
}

}  // namespace arn::winhost
