#include "engine/scaling_state.h"

#include "engine/cmyk_table.h"
#include "engine/convolve_band.h"
#include "engine/descreen_reduction.h"
#include "engine/transfer_steps.h"

void FreeTransferScaling() {
    FreeDescreenDropMaps(TheDescreenDropMaps);
    EndEnlargement(TheEnlargement);
    FreeCmykTable(TheCmykTable);
    FreeConvolveHistories();
}
