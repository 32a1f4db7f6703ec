// Messages from the source to the application, through the source manager.
#pragma once

// SourceState 600, then MSG_XFERREADY: an image is ready to be transferred. False when the
// source manager did not take the message; the state is then back where it was, since the
// application will never hear of the image.
bool NotifyXferReady();
// MSG_CLOSEDSREQ: the source wants the application to close it; the state is not changed.
void NotifyCloseRequest();
