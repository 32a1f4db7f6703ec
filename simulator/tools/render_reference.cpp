// render_reference: writes, as a PNM file, the image a correct data source delivered for one
// scan the simulated scanner logged (see the ScanLog key). Tests compare what an application
// received with it. Prints RENDER_REFERENCE OK on success: under Wine an exit code alone
// proves little.
#include <cstdio>
#include <string>
#include <vector>

#include "simulator/tools/reference_job.h"

namespace {

constexpr const char* kUsage =
    "usage: render_reference --log FILE --out FILE.pnm [--ini WIN.INI] [--scan N]\n"
    "  --ini   the file whose [Scanner Simulator] section configured the scanner\n"
    "  --scan  1 = the first logged scan, -1 = the last (default)\n";

int Fail(const std::string& why) {
    std::printf("RENDER_REFERENCE FAILED: %s\n", why.c_str());
    std::fflush(stdout);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help") {
        std::fputs(kUsage, stdout);
        return args.empty() ? 2 : 0;
    }
    ReferenceJob job;
    std::string error;
    if (!ParseReferenceArgs(args, job, error)) return Fail(error + "\n" + kUsage);
    std::vector<std::string> summary;
    const bool ok = RunReferenceJob(job, summary, error);
    for (const std::string& line : summary) std::printf("%s\n", line.c_str());
    if (!ok) return Fail(error);
    std::printf("RENDER_REFERENCE OK\n");
    std::fflush(stdout);
    return 0;
}
