// Messages from the source to the application, through the source manager.
#pragma once

// SourceState 600, then MSG_XFERREADY: an image is ready to be transferred.
void NotifyXferReady();
// MSG_CLOSEDSREQ: the source wants the application to close it; the state is not changed.
void NotifyCloseRequest();
