#include "scaling_state.h"

#include "cmyk_table.h"
#include "convolve_band.h"
#include "descreen_reduction.h"
#include "transfer_steps.h"

void FreeTransferScaling() {
    FreeDescreenDropMaps(TheDescreenDropMaps);
    EndEnlargement(TheEnlargement);
    FreeCmykTable(TheCmykTable);
    FreeConvolveHistories();
}
