// The modeless "Warming Up..." dialog of a scan set-up.
#pragma once

void OpenWarmUpDialog(int dialogId);
void CloseWarmUpDialog();
