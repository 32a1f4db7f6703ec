#include "window/marching_ants.h"

void AdvanceAnts(AntsPattern& p) {
    const uint8_t last = p.rows[7];
    for (int i = 7; i > 0; --i) p.rows[i] = p.rows[i - 1];
    p.rows[0] = last;
}
