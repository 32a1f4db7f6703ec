// What the memory and file transfers ask of batch scanning. No batch can run yet, so every
// question answers "no batch" and every action does nothing.
#pragma once

// A batch of jobs is being scanned.
inline bool BatchScanningActive() { return false; }
// The running batch writes each job's image to the job's file.
inline bool BatchWritesFiles() { return false; }
// Copies the image just produced to the file of the job just scanned.
inline void CopyJobFile() {}
// Scans every remaining job of a batch that writes files, inside the current call.
inline void ScanRemainingBatchJobs() {}
// Starts the scanning window's timer 3: the batch's next job in 2 seconds.
inline void StartNextBatchJobTimer() {}
