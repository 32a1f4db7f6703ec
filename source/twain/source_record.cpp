#include "source_record.h"

SourceRecord TheSource;

void ResetSourceRecord() { TheSource = SourceRecord{}; }
