#include "prescan/prescan_ui.h"

PrescanUi ThePrescanUi;
