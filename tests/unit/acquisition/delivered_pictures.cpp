#include "tests/unit/acquisition/delivered_pictures.h"

#include <cstring>
#include <fstream>

#include "platform/platform.h"
#include "tests/unit/acquisition/image_readers.h"
#include "twain/ds_entry.h"

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

// Rows of packed or 8-bit samples into the picture's one byte per sample.
void AppendRow(Picture& pic, const uint8_t* row, uint32_t bitsPerPixel) {
    for (uint32_t x = 0; x < pic.width; ++x) {
        if (bitsPerPixel == 1) {
            pic.samples.push_back(((row[x / 8] >> (7 - x % 8)) & 1) ? 255 : 0);
        } else {
            for (uint32_t c = 0; c < pic.channels; ++c) pic.samples.push_back(row[x * pic.channels + c]);
        }
    }
}

Picture FromDecoded(const DecodedImage& d) {
    Picture pic;
    pic.error = d.error;
    if (!d.error.empty()) return pic;
    pic.width = d.width;
    pic.height = d.height;
    pic.channels = d.samplesPerPixel == 3 ? 3 : 1;
    const uint32_t bits = d.bitsPerSample * d.samplesPerPixel;
    for (uint32_t y = 0; y < d.height; ++y) AppendRow(pic, d.rows.data() + size_t(y) * d.bytesPerLine, bits);
    return pic;
}

}  // namespace

Picture NativePicture(TW_IDENTITY& app) {
    Picture pic;
    TW_UINTPTR handle = 0;
    if (DS_Entry(&app, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle) != TWRC_XFERDONE || !handle) {
        pic.error = "no bitmap";
        return pic;
    }
    auto h = reinterpret_cast<plat::MemHandle>(handle);
    const auto* p = static_cast<const uint8_t*>(plat::MemLock(h));
    pic.width = Le32(p + 4);
    pic.height = Le32(p + 8);
    const uint32_t bits = p[14] | p[15] << 8, palette = Le32(p + 32);
    pic.channels = bits == 24 ? 3 : 1;
    const uint32_t stride = (pic.width * bits + 31) / 32 * 4;
    const uint8_t* rows = p + 40 + 4 * palette;
    for (uint32_t y = 0; y < pic.height; ++y) {
        const uint8_t* row = rows + size_t(pic.height - 1 - y) * stride;
        if (bits != 24) {
            AppendRow(pic, row, bits);
            continue;
        }
        for (uint32_t x = 0; x < pic.width; ++x)
            for (int c = 2; c >= 0; --c) pic.samples.push_back(row[3 * x + c]);
    }
    plat::MemUnlock(h);
    plat::MemFree(h);
    return pic;
}

Picture MemoryPicture(TW_IDENTITY& app, uint32_t bufferBytes) {
    TW_IMAGEINFO info{};
    DS_Entry(&app, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    Picture pic;
    pic.width = uint32_t(info.ImageWidth);
    pic.channels = info.SamplesPerPixel == 3 ? 3 : 1;
    std::vector<uint8_t> buffer(bufferBytes);
    TW_UINT16 rc = TWRC_SUCCESS;
    while (rc == TWRC_SUCCESS) {
        TW_IMAGEMEMXFER xfer{};
        xfer.Memory = {TWMF_APPOWNS | TWMF_POINTER, bufferBytes, buffer.data()};
        rc = DS_Entry(&app, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
        if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) {
            pic.error = "memory transfer answered " + std::to_string(rc);
            return pic;
        }
        if (xfer.YOffset != pic.height || xfer.Columns != pic.width) {
            pic.error = "a block out of place";
            return pic;
        }
        for (uint32_t r = 0; r < xfer.Rows; ++r)
            AppendRow(pic, buffer.data() + size_t(r) * xfer.BytesPerRow, uint32_t(info.BitsPerPixel));
        pic.height += xfer.Rows;
    }
    return pic;
}

Picture FilePicture(TW_IDENTITY& app, const std::string& path) {
    TW_SETUPFILEXFER setup{};
    std::strncpy(setup.FileName, path.c_str(), sizeof setup.FileName - 1);
    setup.Format = TWFF_TIFF;
    Picture pic;
    if (DS_Entry(&app, DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, &setup) != TWRC_SUCCESS ||
        DS_Entry(&app, DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, nullptr) != TWRC_XFERDONE) {
        pic.error = "file transfer failed";
        return pic;
    }
    char magic[2] = {};
    std::ifstream(path, std::ios::binary).read(magic, 2);
    return FromDecoded(magic[0] == 'B' ? ReadBmp(path) : ReadTiff(path));
}
