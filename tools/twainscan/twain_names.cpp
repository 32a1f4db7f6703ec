#include "tools/twainscan/twain_names.h"

#include <cstdio>

namespace twainscan {
namespace {

struct CodeName {
    TW_UINT16 code;
    const char* name;
};

const CodeName kReturnCodes[] = {
    {TWRC_SUCCESS, "TWRC_SUCCESS"},
    {TWRC_FAILURE, "TWRC_FAILURE"},
    {TWRC_CHECKSTATUS, "TWRC_CHECKSTATUS"},
    {TWRC_CANCEL, "TWRC_CANCEL"},
    {TWRC_DSEVENT, "TWRC_DSEVENT"},
    {TWRC_NOTDSEVENT, "TWRC_NOTDSEVENT"},
    {TWRC_XFERDONE, "TWRC_XFERDONE"},
    {TWRC_ENDOFLIST, "TWRC_ENDOFLIST"},
    {TWRC_INFONOTSUPPORTED, "TWRC_INFONOTSUPPORTED"},
    {TWRC_DATANOTAVAILABLE, "TWRC_DATANOTAVAILABLE"},
};

const CodeName kConditionCodes[] = {
    {TWCC_SUCCESS, "TWCC_SUCCESS"},
    {TWCC_BUMMER, "TWCC_BUMMER"},
    {TWCC_LOWMEMORY, "TWCC_LOWMEMORY"},
    {TWCC_NODS, "TWCC_NODS"},
    {TWCC_MAXCONNECTIONS, "TWCC_MAXCONNECTIONS"},
    {TWCC_OPERATIONERROR, "TWCC_OPERATIONERROR"},
    {TWCC_BADCAP, "TWCC_BADCAP"},
    {TWCC_BADPROTOCOL, "TWCC_BADPROTOCOL"},
    {TWCC_BADVALUE, "TWCC_BADVALUE"},
    {TWCC_SEQERROR, "TWCC_SEQERROR"},
    {TWCC_BADDEST, "TWCC_BADDEST"},
    {TWCC_CAPUNSUPPORTED, "TWCC_CAPUNSUPPORTED"},
    {TWCC_CAPBADOPERATION, "TWCC_CAPBADOPERATION"},
    {TWCC_CAPSEQERROR, "TWCC_CAPSEQERROR"},
    {TWCC_DENIED, "TWCC_DENIED"},
    {TWCC_FILEEXISTS, "TWCC_FILEEXISTS"},
    {TWCC_FILENOTFOUND, "TWCC_FILENOTFOUND"},
    {TWCC_PAPERJAM, "TWCC_PAPERJAM"},
    {TWCC_FILEWRITEERROR, "TWCC_FILEWRITEERROR"},
    {TWCC_CHECKDEVICEONLINE, "TWCC_CHECKDEVICEONLINE"},
    {TWCC_NOMEDIA, "TWCC_NOMEDIA"},
};

const CodeName kCapabilities[] = {
    {CAP_XFERCOUNT, "CAP_XFERCOUNT"},
    {ICAP_PIXELTYPE, "ICAP_PIXELTYPE"},
    {ICAP_UNITS, "ICAP_UNITS"},
    {ICAP_XFERMECH, "ICAP_XFERMECH"},
    {ICAP_IMAGEFILEFORMAT, "ICAP_IMAGEFILEFORMAT"},
    {ICAP_XRESOLUTION, "ICAP_XRESOLUTION"},
    {ICAP_YRESOLUTION, "ICAP_YRESOLUTION"},
    {ICAP_PIXELFLAVOR, "ICAP_PIXELFLAVOR"},
};

const CodeName kPixelTypes[] = {
    {TWPT_BW, "TWPT_BW"},           {TWPT_GRAY, "TWPT_GRAY"}, {TWPT_RGB, "TWPT_RGB"},
    {TWPT_PALETTE, "TWPT_PALETTE"}, {TWPT_CMY, "TWPT_CMY"},   {TWPT_CMYK, "TWPT_CMYK"},
};

const CodeName kFileFormats[] = {
    {TWFF_TIFF, "TWFF_TIFF"},
    {TWFF_PICT, "TWFF_PICT"},
    {TWFF_BMP, "TWFF_BMP"},
    {TWFF_XBM, "TWFF_XBM"},
};

template <size_t N>
std::string NameOf(const CodeName (&table)[N], TW_UINT16 code, const char* family,
                   const char* unknownFormat = "%s 0x%04X") {
    for (const CodeName& entry : table)
        if (entry.code == code) return entry.name;
    char text[32];
    std::snprintf(text, sizeof text, unknownFormat, family, code);
    return text;
}

}  // namespace

std::string ReturnCodeName(TW_UINT16 rc) { return NameOf(kReturnCodes, rc, "TWRC"); }
std::string ConditionCodeName(TW_UINT16 cc) { return NameOf(kConditionCodes, cc, "TWCC"); }
std::string CapabilityName(TW_UINT16 cap) { return NameOf(kCapabilities, cap, "capability"); }

std::string PixelTypeName(TW_INT16 type) {
    return NameOf(kPixelTypes, static_cast<TW_UINT16>(type), "TWPT", "%s %u");
}

std::string FileFormatName(TW_UINT16 format) {
    return NameOf(kFileFormats, format, "TWFF", "%s %u");
}

}  // namespace twainscan
