// DAT_CAPABILITY for the application named by string 62: a reduced set of capabilities whose
// settings are accepted and never applied.
#pragma once

// Reads TheSource.CallMsg and the TW_CAPABILITY at TheSource.CallData. Legal in states
// 400 to 700 only (TWCC_SEQERROR otherwise).
void CapabilityRequestReduced();
