#include "bench/lcms_reference.h"

#include <lcms2.h>

#include <vector>

namespace {

constexpr uint32_t kSide = 17;

// An RGB-to-CMYK (or RGB-to-RGB) device link holding the input curves, if any, and the
// lattice as a 16-bit lookup table. LittleCMS resamples it at transform time into its
// 8-bit-input precalculated form, which is what an application would run.
cmsHPROFILE BuildLink(const uint8_t* entries, uint32_t outChannels, const uint8_t* curves,
                      bool complement) {
    std::vector<cmsUInt16Number> grid(size_t(kSide) * kSide * kSide * outChannels);
    for (size_t i = 0; i < grid.size(); ++i) {
        const uint32_t v = complement ? 255u - entries[i] : entries[i];
        grid[i] = cmsUInt16Number(v * 257);
    }
    cmsPipeline* pipe = cmsPipelineAlloc(nullptr, 3, outChannels);
    if (!pipe) return nullptr;
    bool built = true;
    if (curves) {
        cmsToneCurve* tone[3] = {};
        for (uint32_t c = 0; c < 3; ++c) {
            cmsUInt16Number values[256];
            for (uint32_t v = 0; v < 256; ++v) values[v] = cmsUInt16Number(curves[256 * c + v] * 257);
            tone[c] = cmsBuildTabulatedToneCurve16(nullptr, 256, values);
            built = built && tone[c];
        }
        cmsStage* stage = built ? cmsStageAllocToneCurves(nullptr, 3, tone) : nullptr;
        built = stage && cmsPipelineInsertStage(pipe, cmsAT_END, stage);
        for (cmsToneCurve* t : tone)
            if (t) cmsFreeToneCurve(t);
    }
    cmsStage* clut = built ? cmsStageAllocCLut16bit(nullptr, kSide, 3, outChannels, grid.data()) : nullptr;
    built = clut && cmsPipelineInsertStage(pipe, cmsAT_END, clut);
    cmsHPROFILE link = built ? cmsCreateProfilePlaceholder(nullptr) : nullptr;
    if (link) {
        cmsSetProfileVersion(link, 4.3);
        cmsSetDeviceClass(link, cmsSigLinkClass);
        cmsSetColorSpace(link, cmsSigRgbData);
        cmsSetPCS(link, outChannels == 4 ? cmsSigCmykData : cmsSigRgbData);
        cmsSetHeaderRenderingIntent(link, INTENT_PERCEPTUAL);
        if (!cmsWriteTag(link, cmsSigAToB0Tag, pipe)) {
            cmsCloseProfile(link);
            link = nullptr;
        }
    }
    cmsPipelineFree(pipe);
    return link;
}

}  // namespace

LcmsLink::LcmsLink(const uint8_t* entries, uint32_t outChannels, const uint8_t* curves,
                   bool complement) {
    cmsHPROFILE link = BuildLink(entries, outChannels, curves, complement);
    if (!link) return;
    // Default flags: LittleCMS optimises (precalculates) the pipeline for 8-bit input.
    transform_ = cmsCreateTransform(link, TYPE_RGB_8, nullptr,
                                    outChannels == 4 ? TYPE_CMYK_8 : TYPE_RGB_8,
                                    INTENT_PERCEPTUAL, 0);
    cmsCloseProfile(link);
}

LcmsLink::~LcmsLink() {
    if (transform_) cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform_));
}

void LcmsLink::Convert(const uint8_t* in, uint8_t* out, uint32_t pixels) const {
    cmsDoTransform(static_cast<cmsHTRANSFORM>(transform_), in, out, pixels);
}
