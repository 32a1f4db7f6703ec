#!/usr/bin/env python3
"""The source with its local scanner held by the sharing server, under Wine: the Windows
build of the server stand-in (relaynor.exe) runs in the test's prefix on loopback, WIN.INI
points discovery at 127.0.0.1 ("RelaynorAddress" of "KVTINFO_A3"), and every acquisition of
twainscan through the server equals, byte for byte, the same acquisition from the scanner on
the local port. Also: the open refused while a window of class "Relaynor" exists, and the
open that finds no server. The server uses the protocol's fixed ports, so these cases hold
the ctest lock of every remote test."""
import os
import socket
import time

from harness.cases import expect, expect_ok, main
from harness.msgcapture import MessageWatch
from harness.prefix import TestPrefix
from harness.winecmd import windows_path

FRAME = ["--frame", "1,1,3.01,2.5"]
TRANSFERS = [
    ("native", [], "native.bmp"),
    ("memory", ["--xfer", "memory", "--buffer", "7000"], "memory.tif"),
    ("file TIFF", ["--xfer", "file"], "file.tif"),
    ("file BMP", ["--xfer", "file", "--format", "bmp"], "file.bmp"),
]
CONNECTED = ("You have no local scanner and a remote scanner is available\n"
             "You connect to the remote scanner.\n"
             "The owner is: Relaynor\n"
             "The IP_address is: 127.0.0.1")
CAPTION = "SCANNERA3 Flatbed Scanner"
REMOTE_INI = ("[mail]\nmapi=1\n[Scanner Simulator]\nInquiryStatus=1\n"
              "[KVTINFO_A3]\nRelaynorAddress=127.0.0.1\n")


def wait_for_answer(seconds=60):
    """Asks the server on loopback, as a client's discovery does, until it answers."""
    deadline = time.monotonic() + seconds
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        probe.settimeout(0.5)
        while time.monotonic() < deadline:
            probe.sendto(b"Is there a corvane scanner?", ("127.0.0.1", 6001))
            try:
                if probe.recvfrom(64)[0] == b"READY":
                    return
            except socket.timeout:
                pass
    expect(False, "the server did not answer within %d s" % seconds)


def start_server(prefix, context, *args):
    """relaynor.exe in the prefix, with the simulator's default scanner; returns its log."""
    ini = os.path.join(prefix.root, "server.ini")
    with open(ini, "w") as f:
        f.write("[Scanner Simulator]\n")
    log = os.path.join(prefix.root, "relaynor.log")
    prefix.start([context.program("relaynor"), "--ini", windows_path(ini), "--log",
                  windows_path(log)] + list(args), 600)
    return log


def acquire_all(prefix, context, pixel, tag):
    """Every transfer of one scan setting; returns {transfer: the file's bytes}."""
    images = {}
    for name, args, out_name in TRANSFERS:
        out = os.path.join(prefix.root, tag + "_" + out_name)
        result = prefix.run(context.twainscan("--pixel", pixel, "--res", "150", *FRAME, *args,
                                              "--out", windows_path(out)),
                            seconds=180, success_line="TWAINSCAN OK")
        expect_ok(result)
        expect(os.path.exists(out), "no %s written by the %s run" % (out, tag))
        with open(out, "rb") as f:
            images[name] = f.read()
    return images


def through_server_case(pixel):
    def case(context):
        with TestPrefix(context.tree, context.name, display=True) as prefix:
            prefix.install_source(context.program("source"), [context.program("portlib")])
            prefix.install_manager(context.manager)
            prefix.seed_win_ini("[mail]\nmapi=1\n")
            local = acquire_all(prefix, context, pixel, "local")
            log = start_server(prefix, context)
            wait_for_answer()
            prefix.seed_win_ini(REMOTE_INI)
            with MessageWatch(prefix, context.program("msgwatch")) as watch:
                remote = acquire_all(prefix, context, pixel, "remote")
            with open(log, encoding="utf-8", errors="replace") as f:
                served = f.read()
        for name, _, _ in TRANSFERS:
            expect(len(local[name]) > 1000 and remote[name] == local[name],
                   "%s: the image through the server differs from the local one (%d and %d "
                   "bytes)" % (name, len(remote[name]), len(local[name])))
        boxes = [(b.caption, b.text) for b in watch.boxes]
        expect(boxes == [(CAPTION, CONNECTED)] * len(TRANSFERS),
               "unexpected message boxes: %r" % boxes)
        expect(served.count(" connected") == len(TRANSFERS) and ": code 10," in served,
               "the server's log does not show one client per run:\n" + served)
    return case


def case_server_window_refuses_open(context):
    """A window of class "Relaynor" means the server holds the local scanner: no open."""
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"), [context.program("portlib")])
        prefix.install_manager(context.manager)
        start_server(prefix, context, "--window")
        wait_for_answer()
        with MessageWatch(prefix, context.program("msgwatch")) as watch:
            result = prefix.run(context.twainscan("--open", "1"), success_line="TWAINSCAN OK")
    expect(not result.ok and not result.crashed and not result.timed_out,
           "the open was not refused cleanly:\n" + result.describe())
    texts = [(b.caption, b.text) for b in watch.boxes]
    expect(len(texts) == 1 and texts[0][0] == CAPTION and
           texts[0][1].startswith("You have to wait for a few more minutes") and
           texts[0][1].endswith("\nIf not, please run Relaynor and close it."),
           "unexpected message boxes: %r" % texts)


def case_no_server(context):
    """The local scanner is held but no server answers: the discovery times out."""
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"), [context.program("portlib")])
        prefix.install_manager(context.manager)
        prefix.seed_win_ini(REMOTE_INI)
        with MessageWatch(prefix, context.program("msgwatch")) as watch:
            result = prefix.run(context.twainscan("--open", "1"), success_line="TWAINSCAN OK")
    expect(not result.ok and not result.crashed and not result.timed_out,
           "the open was not refused cleanly:\n" + result.describe())
    texts = [b.text for b in watch.boxes]
    expect(texts[:2] == ["Time Out!", "There is no remote scanner!"] and len(texts) == 3,
           "unexpected message boxes: %r" % texts)


CASES = {
    "lineart": through_server_case("bw"),
    "gray": through_server_case("gray"),
    "colour": through_server_case("rgb"),
    "server_window_refuses_open": case_server_window_refuses_open,
    "no_server": case_no_server,
}

if __name__ == "__main__":
    main(CASES)
