#include "twain/source_record.h"

#include "session/call_codes.h"

SourceRecord TheSource;

void ResetSourceRecord() {
    TheSource = SourceRecord{};
    TheCall = CallCodes{};
}
