// The command line of twainscan, parsed without any Windows dependency so that it is
// checked on the host as well.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace twainscan {

enum class PixelKind { BlackWhite, Gray, Rgb };
enum class XferKind { Native, Memory, File };
enum class FileFormat { Tiff, Bmp };

// A scan frame in inches, as TWAIN's default unit gives it.
struct FrameInches {
    double left = 0, top = 0, right = 0, bottom = 0;
};

struct Options {
    bool help = false;
    bool list = false;      // print every source the manager knows
    bool identity = false;  // print the chosen source's identity as the manager lists it
    int openCycles = 0;     // open and close the chosen source this many times
    std::string sourceName;                    // exact ProductName; empty picks ours by suffix
    std::string appName = "twainscan";         // ProductName this application reports
    std::string managerLibrary = "twain_32.dll";  // or "TWAINDSM.dll"
    std::optional<PixelKind> pixel;
    std::optional<int> resolution;             // dots per inch
    std::optional<FrameInches> frame;
    std::optional<XferKind> xfer;
    std::optional<FileFormat> format;
    std::optional<std::string> outPath;
    bool showUI = false;
    std::optional<int> count;                  // images to acquire; -1 means all
    std::optional<unsigned> bufferBytes;       // memory transfer buffer; else the source's choice
    int waitSeconds = 120;                     // longest wait for an image to become ready
};

struct ParseResult {
    bool ok = false;
    std::string error;  // set when !ok; names the offending option
    Options options;
};

// args excludes the program name.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// True when no listing action was asked for, or an acquisition option was given.
bool WantsAcquisition(const Options& options);

// The file an acquisition writes: --out, or a name in the current folder that suits the
// transfer ("scan.bmp" for native and BMP files, "scan.tif" otherwise).
std::string OutputPath(const Options& options);

const char* UsageText();

}  // namespace twainscan
