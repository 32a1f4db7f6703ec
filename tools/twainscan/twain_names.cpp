#include "twain_names.h"

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

template <size_t N>
std::string NameOf(const CodeName (&table)[N], TW_UINT16 code, const char* family) {
    for (const CodeName& entry : table)
        if (entry.code == code) return entry.name;
    char text[32];
    std::snprintf(text, sizeof text, "%s 0x%04X", family, code);
    return text;
}

}  // namespace

std::string ReturnCodeName(TW_UINT16 rc) { return NameOf(kReturnCodes, rc, "TWRC"); }
std::string ConditionCodeName(TW_UINT16 cc) { return NameOf(kConditionCodes, cc, "TWCC"); }

}  // namespace twainscan
