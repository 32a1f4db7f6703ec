// A lattice of the table files as a LittleCMS device link, run through LittleCMS's own
// precalculated transform: the yardstick the lattice conversions are measured against.
// Built only when LittleCMS is present (KV_HAVE_LCMS2).
#pragma once

#include <cstdint>

class LcmsLink {
public:
    // entries: 17 x 17 x 17 entries of outChannels (3 or 4) bytes, first axis slowest, as
    // the table files hold them. curves: null, or three 256-byte input curves applied before
    // the lattice. complement folds 255 - value into the lattice, as CMYK output delivers it.
    LcmsLink(const uint8_t* entries, uint32_t outChannels, const uint8_t* curves, bool complement);
    ~LcmsLink();
    LcmsLink(const LcmsLink&) = delete;
    LcmsLink& operator=(const LcmsLink&) = delete;

    bool ok() const { return transform_ != nullptr; }
    // Red-green-blue pixels of `in` into outChannels bytes each in `out` (which may be `in`
    // when both are three bytes a pixel).
    void Convert(const uint8_t* in, uint8_t* out, uint32_t pixels) const;

private:
    void* transform_ = nullptr;
};
