#include "tools/twainscan/acquire_command.h"

#include <vector>

#include "tools/twainscan/file_xfer.h"
#include "tools/twainscan/identity_text.h"
#include "tools/twainscan/image_info_text.h"
#include "tools/twainscan/manager_session.h"
#include "tools/twainscan/memory_xfer.h"
#include "tools/twainscan/native_xfer.h"
#include "tools/twainscan/negotiate.h"
#include "tools/twainscan/source_choice.h"
#include "tools/twainscan/source_link.h"
#include "tools/twainscan/twain_names.h"

namespace twainscan {
namespace {

// TWAIN's application-side states as far as twainscan has taken the source.
enum class State { ManagerOpen = 3, SourceOpen = 4, Enabled = 5, Ready = 6, Transferring = 7 };

struct Acquisition {
    const Options& options;
    const AcquireServices& services;
    const Printer& print;
    ManagerSession session;
    SourceLink link;
    State state = State::ManagerOpen;
    int imagesWritten = 0;
};

bool Step(Acquisition& a, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data,
          const char* what, std::string& error) {
    const TW_UINT16 rc = CallSource(a.link, dg, dat, msg, data);
    if (rc == TWRC_SUCCESS) return true;
    error = SourceFailure(a.link, what, rc);
    return false;
}

bool OpenOurSource(Acquisition& a, std::string& error) {
    std::vector<TW_IDENTITY> sources;
    if (!ListSources(a.session, sources, error)) return false;
    const SourceChoice choice = ChooseSource(sources, a.options.sourceName);
    if (!choice.ok) {
        error = choice.error;
        return false;
    }
    a.link.session = &a.session;
    a.link.source = sources[choice.index];
    if (!OpenSource(a.session, a.link.source, error)) return false;
    a.state = State::SourceOpen;
    a.print("MSG_OPENDS: " + PrintableTwainText(a.link.source.ProductName) + "\n");
    return true;
}

bool Enable(Acquisition& a, std::string& error) {
    TW_USERINTERFACE ui{static_cast<TW_BOOL>(a.options.showUI), 0, a.services.parent};
    if (!Step(a, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui, "MSG_ENABLEDS", error))
        return false;
    a.state = State::Enabled;
    a.print(std::string("MSG_ENABLEDS: ShowUI ") + (a.options.showUI ? "TRUE" : "FALSE") + "\n");
    const uint32_t limitMs = static_cast<uint32_t>(a.options.waitSeconds) * 1000;
    a.print("waiting for MSG_XFERREADY (at most " + std::to_string(a.options.waitSeconds) + " s)\n");
    if (!WaitForTransferReady(a.link, *a.services.pump, limitMs, error)) return false;
    a.state = State::Ready;
    a.print("MSG_XFERREADY\n");
    return true;
}

bool TakeImage(Acquisition& a, int n, std::string& error) {
    TW_IMAGEINFO info{};
    if (!Step(a, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info, "DAT_IMAGEINFO", error)) return false;
    a.print(ImageInfoLines(info));
    const std::string path = ImagePath(OutputPath(a.options), n);
    const XferKind kind = a.options.xfer.value_or(XferKind::Native);
    const FileFormat format = a.options.format.value_or(FileFormat::Tiff);
    // Image 1's file was named before enabling; later images name theirs in state 6.
    if (kind == XferKind::File && n > 1 &&
        !SetUpFileTransfer(a.link, *a.services.blocks, format, path, a.print, error))
        return false;
    // From the transfer call on, the source is in state 7 whatever the outcome.
    a.state = State::Transferring;
    MemoryBlocks& blocks = *a.services.blocks;
    if (kind == XferKind::Memory)
        return TransferMemory(a.link, blocks, info, a.options.bufferBytes, path, a.print, error);
    if (kind == XferKind::File) return TransferFile(a.link, blocks, format, path, a.print, error);
    return TransferNative(a.link, blocks, info, path, a.print, error);
}

bool EndTransfer(Acquisition& a, TW_UINT16& count, std::string& error) {
    TW_PENDINGXFERS pending{};
    if (!Step(a, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending, "MSG_ENDXFER", error)) {
        a.state = State::Ready;  // unwinding resets what may still be pending
        return false;
    }
    count = pending.Count;
    a.state = count ? State::Ready : State::Enabled;
    a.print("MSG_ENDXFER: Count " + std::to_string(static_cast<TW_INT16>(count)) + "\n");
    return true;
}

// Images while the source has more and the command line wants more.
bool TakeImages(Acquisition& a, std::string& error) {
    const int wanted = a.options.count.value_or(1);
    for (int n = 1;; ++n) {
        std::string transferError;
        const bool taken = TakeImage(a, n, transferError);
        TW_UINT16 count = 0;
        // A failed transfer still ends in MSG_ENDXFER; its own failure is the one reported.
        const bool ended = a.state == State::Transferring ? EndTransfer(a, count, error) : true;
        if (!taken) {
            error = transferError;
            return false;
        }
        if (!ended) return false;
        ++a.imagesWritten;
        if (count == 0 || n == wanted || n == 32767) return true;
    }
}

// One step back towards state 3; a refusal is shown and the unwinding goes on, since every
// later step is still worth trying.
bool StepBack(Acquisition& a, TW_UINT16 dat, TW_UINT16 msg, void* data, const char* what,
              State next) {
    std::string error;
    const bool ok = Step(a, DG_CONTROL, dat, msg, data, what, error);
    a.print(ok ? std::string(what) + "\n" : "note: " + error + "\n");
    a.state = next;
    return ok;
}

void Unwind(Acquisition& a) {
    TW_PENDINGXFERS pending{};
    if (a.state == State::Transferring &&
        StepBack(a, DAT_PENDINGXFERS, MSG_ENDXFER, &pending, "MSG_ENDXFER", State::Ready) &&
        pending.Count == 0)
        a.state = State::Enabled;
    if (a.state == State::Ready)
        StepBack(a, DAT_PENDINGXFERS, MSG_RESET, &pending, "MSG_RESET", State::Enabled);
    if (a.state == State::Enabled) {
        TW_USERINTERFACE ui{static_cast<TW_BOOL>(a.options.showUI), 0, a.services.parent};
        StepBack(a, DAT_USERINTERFACE, MSG_DISABLEDS, &ui, "MSG_DISABLEDS", State::SourceOpen);
    }
    if (a.state == State::SourceOpen) {
        std::string error;
        a.print(CloseSource(a.session, a.link.source, error) ? "MSG_CLOSEDS\n"
                                                             : "note: " + error + "\n");
    }
    CloseManager(a.session);
    a.state = State::ManagerOpen;
}

}  // namespace

std::string ImagePath(const std::string& path, int n) {
    if (n <= 1) return path;
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const size_t cut = hasExtension ? dot : path.size();
    return path.substr(0, cut) + "-" + std::to_string(n) + path.substr(cut);
}

CommandResult RunAcquisition(const Options& options, const AcquireServices& services,
                             const Printer& print) {
    Acquisition a{options, services, print, {}, {}};
    a.session.entry = services.entry;
    a.session.parent = services.parent;
    a.session.app = ApplicationIdentity(options.appName);

    std::string error;
    if (!OpenManager(a.session, error)) return {false, error};
    const bool ok = OpenOurSource(a, error) &&
                    Negotiate(a.link, *services.blocks, options, OutputPath(options), print, error) &&
                    Enable(a, error) && TakeImages(a, error);
    Unwind(a);
    if (ok && a.imagesWritten == 0) return {false, "no image was written"};
    return {ok, ok ? "" : error};
}

}  // namespace twainscan
