// Process attach of the data source.
#pragma once

// SourceState 300, no application, identity from the profile, and the 16-bit thunking
// server of the TWAIN platform moved out of the way.
void InitialiseSource();
