// The modeless "scanner not ready" dialog shown while the bring-up waits for the scanner.
#pragma once

void OpenNotReadyDialog(int dialogId);
void CloseNotReadyDialog();
