// What render_reference does: from the simulator keys a test configured and the scan log the
// port library kept, the image a correct data source delivered for one logged scan.
#pragma once

#include <string>
#include <vector>

struct ReferenceJob {
    std::string iniPath;  // WIN.INI whose "Scanner Simulator" section configured the scanner
    std::string logPath;  // the file the ScanLog key named
    std::string outPath;  // the PNM file to write
    int scan = -1;        // 1 = the first logged scan; -1 = the last, -2 the one before...
};

// --log FILE --out FILE [--ini FILE] [--scan N]; what is not given keeps its default.
bool ParseReferenceArgs(const std::vector<std::string>& args, ReferenceJob& job,
                        std::string& error);

// Writes the image; `summary` gets one line per configuration problem and one that names the
// scan, its mode and its size.
bool RunReferenceJob(const ReferenceJob& job, std::vector<std::string>& summary,
                     std::string& error);
