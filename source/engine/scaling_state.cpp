#include "scaling_state.h"

#include "cmyk_table.h"
#include "convolve_band.h"
#include "descreen_reduction.h"
#include "interpolate_block.h"
#include "widen_line.h"

void FreeTransferScaling() {
    FreeDescreenDropMaps(TheDescreenDropMaps);
    FreeWidenPlan(TheWidenPlan);
    EndInterpolation(TheInterpolation);
    FreeCmykTable(TheCmykTable);
    FreeConvolveHistories();
}
