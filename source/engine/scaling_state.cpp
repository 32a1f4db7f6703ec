#include "scaling_state.h"

#include "cmyk_table.h"
#include "descreen_reduction.h"
#include "interpolate_block.h"
#include "widen_line.h"

void FreeTransferScaling() {
    FreeDescreenDropMaps(TheDescreenDropMaps);
    FreeWidenPlan(TheWidenPlan);
    EndInterpolation(TheInterpolation);
    FreeCmykTable(TheCmykTable);
}
