#include "platform/Resources.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <optional>

#include "core/ArnError.h"
#include "core/ErrorCatalogue.h"
#include "platform/win32/ThisModule.h"

namespace arn {

namespace {

struct Bytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

Bytes FindBytes(LPCSTR name, LPCSTR type) {
    const HMODULE module = win32::ThisModule();
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return {};
    }
    return Bytes{static_cast<const uint8_t*>(data), SizeofResource(module, found)};
}

template <class T>
T Read(const Bytes& bytes, size_t at) {
    T value{};
    std::memcpy(&value, bytes.data + at, sizeof value);
    return value;
}

// The icon group of this id, its first image: a bitmap header of twice the picture's height
// (colour and mask), then 32-bit rows bottom-up in B, G, R, A order.
std::optional<ResIcon> LoadIcon(int32_t id) {
    const Bytes group = FindBytes(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /*RT_GROUP_ICON*/);
    // The group header (3 words) and one 14-byte entry whose last word names the image.
    if (group.size < 6 + 14 || Read<uint16_t>(group, 4) == 0) {
        return std::nullopt;
    }
    const uint16_t imageId = Read<uint16_t>(group, 6 + 12);
    const Bytes image = FindBytes(MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3) /*RT_ICON*/);
    if (image.size < sizeof(BITMAPINFOHEADER)) {
        return std::nullopt;
    }
    const auto header = Read<BITMAPINFOHEADER>(image, 0);
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight / 2;
    const size_t pixelBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (header.biBitCount != 32 || width <= 0 || height <= 0 ||
        header.biSize + pixelBytes > image.size) {
        return std::nullopt;
    }
    ResIcon icon{id, width, height, std::vector<uint8_t>(pixelBytes)};
    const uint8_t* rows = image.data + header.biSize;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = rows + static_cast<size_t>(height - 1 - y) * width * 4;
        uint8_t* to = icon.pixels.data() + static_cast<size_t>(y) * width * 4;
        for (int32_t x = 0; x < width; ++x, from += 4, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = from[3];
        }
    }
    return icon;
}

}  // namespace

const ResIcon& LoadResIcon(int32_t id) {
    // Loaded once per id and kept for the life of the process, so references stay valid.
    static std::map<int32_t, ResIcon> loaded;
    if (const auto it = loaded.find(id); it != loaded.end()) {
        return it->second;
    }
    std::optional<ResIcon> icon = id >= 0 && id <= 0xFFFF ? LoadIcon(id) : std::optional<ResIcon>();
    if (!icon) {
        throw ResourceNotFoundError(id, "ArnAbsPosn");
    }
    return loaded.emplace(id, std::move(*icon)).first->second;
}

}  // namespace arn
