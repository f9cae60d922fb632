// Writes the check-box pictures that the Linux build draws as Windows icon files, for the
// Windows build's resources. Rerun it after changing the drawing:
//   g++ -std=c++20 -I. scripts/make-icons.cpp platform/posix/Resources.cpp core/*.cpp \
//       -o /tmp/make-icons && /tmp/make-icons platform/win32/icons
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Resources.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One 32-bit image with alpha: a bitmap header of twice the height (colour plus mask), the
// rows bottom-up in B, G, R, A order, then the 1-bit mask, rows padded to 4 bytes.
std::vector<uint8_t> IconFile(const arn::ResIcon& icon) {
    const auto w = static_cast<uint32_t>(icon.width);
    const auto h = static_cast<uint32_t>(icon.height);
    const uint32_t maskRow = (w + 31) / 32 * 4;
    std::vector<uint8_t> image;
    Put32(image, 40);
    Put32(image, w);
    Put32(image, h * 2);
    Put16(image, 1);
    Put16(image, 32);
    for (int i = 0; i < 6; ++i) {
        Put32(image, 0);
    }
    for (uint32_t y = h; y-- > 0;) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* p = &icon.pixels[(y * w + x) * 4];
            image.insert(image.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (uint32_t y = h; y-- > 0;) {
        std::vector<uint8_t> row(maskRow, 0);
        for (uint32_t x = 0; x < w; ++x) {
            if (icon.pixels[(y * w + x) * 4 + 3] == 0) {
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        image.insert(image.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // icon
    Put16(file, 1);  // one image
    file.push_back(static_cast<uint8_t>(w));
    file.push_back(static_cast<uint8_t>(h));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 6 + 16);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    for (int32_t id : {500, 501, 503, 504}) {
        const std::vector<uint8_t> bytes = IconFile(arn::LoadResIcon(id));
        std::ofstream(folder + "/check" + std::to_string(id) + ".ico", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
