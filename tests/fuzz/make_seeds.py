#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz targets into corpus/<target>/.

Each seed encodes, in the byte order the target's decoder reads (fuzz_input.h and the
target's source), one meaningful session: a scan and transfer of each kind, capability
sweeps, feeder pages, profile keys with typical values, valid table files. Seeds kept from
campaigns (minimised inputs, regression inputs named crash-*/leak-*/timeout-*) sit beside
them and are not touched here.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TABLES = os.path.join(HERE, '..', '..', 'source', 'resources', 'tables', 'TWAIN_32')


def u8(v): return bytes([v & 0xFF])
def u16(v): return struct.pack('<H', v & 0xFFFF)
def u32(v): return struct.pack('<I', v & 0xFFFFFFFF)


# ---- fuzz_ds_entry ----------------------------------------------------------------------------
CAPS = ['CAP_XFERCOUNT', 'CAP_AUTHOR', 'CAP_CAPTION', 'CAP_TIMEDATE', 'CAP_AUTOFEED',
        'CAP_CLEARPAGE', 'CAP_FEEDERENABLED', 'CAP_FEEDERLOADED', 'CAP_FEEDPAGE',
        'CAP_INDICATORS', 'CAP_SUPPORTEDCAPS', 'CAP_UICONTROLLABLE', 'ICAP_AUTOBRIGHT',
        'ICAP_BRIGHTNESS', 'ICAP_COMPRESSION', 'ICAP_CONTRAST', 'ICAP_FILTER',
        'ICAP_IMAGEFILEFORMAT', 'ICAP_LIGHTSOURCE', 'ICAP_PHYSICALHEIGHT', 'ICAP_PHYSICALWIDTH',
        'ICAP_PIXELFLAVOR', 'ICAP_PIXELTYPE', 'ICAP_PLANARCHUNKY', 'ICAP_SUPPORTEDSIZES',
        'ICAP_TIMEFILL', 'ICAP_UNITS', 'ICAP_XFERMECH', 'ICAP_XRESOLUTION', 'ICAP_YRESOLUTION',
        'ICAP_BITDEPTH']
CAP_MESSAGES = ['GET', 'GETCURRENT', 'GETDEFAULT', 'SET', 'RESET', 'QUERYSUPPORT']
ONEVALUE = 0
TWTY_INT16, TWTY_BOOL, TWTY_UINT16, TWTY_FIX32 = 1, 6, 4, 7
TWFF_BMP = 2


def open_app(choice=0, major=0, minor=9):
    return u8(choice) + u8(major) + u8(minor)


def cap(name, msg, container=b'', con_type=ONEVALUE):
    """Operation 0: a capability call with a structured container (mode 3) or none (0)."""
    out = u8(0) + u8(0) + u8(CAPS.index(name)) + u8(0) + u8(con_type)
    out += u8(1) + u8(CAP_MESSAGES.index(msg))
    return out + (u8(3) + container if container else u8(0))


def onevalue_small(item_type, value):  # items narrower than 32 bits take the 32-bit slot
    return u8(0) + u8(item_type) + u32(value) + u8(4)


def onevalue_fix32(whole, frac=0):
    return u8(0) + u8(TWTY_FIX32) + u16(whole) + u16(frac) + u8(4)


def layout_inches(left, top, right, bottom):
    out = u8(3) + u8(0)  # MSG_SET
    for v in (left, top, right, bottom):
        out += u8(0) + u8(v) + u16(0)  # small whole part, no fraction
    return out + u8(0) * 3


def enable(show_ui=False):
    return u8(5) + u8(1) + u8(0 if show_ui else 1) + u8(0)


def disable():
    return u8(5) + u8(0) + u8(1) + u8(0)


def memory_loop(length, mode=0, block=0, calls=255):
    out = u8(7) + u8(1) + u16(length) + u8(mode)
    if mode in (1, 2):
        out += u16(block)
    return out + u8(calls)


def end_transfer():
    return u8(10) + u8(0) + u16(0) + u32(0)


def pending_get():  # with auto-feed on, the next feeder page starts here
    return u8(10) + u8(1) + u16(0) + u32(0)


def file_setup(name, fmt):
    return u8(4) + u8(0) + u8(0) + u8(len(name)) + name + u8(0) + u8(fmt) + u16(0)


def scan_settings(pixel_type, dpi, mech):
    return (cap('ICAP_PIXELTYPE', 'SET', onevalue_small(TWTY_UINT16, pixel_type)) +
            cap('ICAP_XRESOLUTION', 'SET', onevalue_fix32(dpi)) +
            cap('ICAP_XFERMECH', 'SET', onevalue_small(TWTY_UINT16, mech)) +
            layout_inches(0, 0, 1, 1))


def window_scan(mode, sub, res, filt, descreen, match, scaling, dpi_scale, frame, tones=None):
    """Operation 15: the window's Scan (no options installed: no source byte). tones: the
    16-bit values the tone and colour keys are made from, or None for neutral settings."""
    out = u8(15) + u8(mode) + (u8(sub) if mode == 3 else b'') + u8(res)
    out += u8(filt) + u8(descreen) + u8(match) + u8(scaling) + u8(dpi_scale)
    out += b''.join(u8(v) for v in frame)
    return out + (u8(1) + b''.join(u16(v) for v in tones) if tones else u8(0))


# Highlight, shadow, gamma (4 each, field value + 20), hue and saturation (+ 999), colour
# balance (3, + 120), pixel RGB (3), circle position (2, + 50).
ADJUSTED_TONES = ([260, 250, 255, 275] + [30, 20, 25, 20] + [42, 38, 30, 30] + [1029, 979] +
                  [130, 110, 125] + [255, 255, 255] + [94, 165])


def ds_entry_seeds():
    s = {}
    s['memory-colour'] = (u8(0) + open_app() + scan_settings(2, 75, 2) + enable() +
                          memory_loop(65535) + end_transfer() + disable())
    s['memory-gray-handle'] = (u8(2) + open_app() + scan_settings(1, 150, 2) + enable() +
                               memory_loop(8000, mode=1, block=8000) + end_transfer())
    s['native-lineart'] = (u8(1) + open_app() + scan_settings(0, 200, 0) + enable() + u8(8) +
                           end_transfer())
    s['native-colour-batch'] = (u8(0) + open_app(choice=131) + scan_settings(2, 75, 0) +
                                enable() + u8(8) + end_transfer())
    s['file-tiff'] = (u8(0) + open_app() + scan_settings(1, 100, 1) +
                      file_setup(b'page.tif', 0) + enable() + u8(9) + end_transfer())
    # The set-up names the file and takes only TIFF; BMP is the file format capability's.
    # Rows of 512 bytes and more go to the file as gathered writes, shorter ones staged.
    for name, config, pixel_type, dpi in (('file-bmp', 0, 2, 300), ('file-bmp-gray', 1, 1, 100),
                                          ('file-bmp-lineart', 3, 0, 150)):
        s[name] = (u8(config) + open_app() + scan_settings(pixel_type, dpi, 1) +
                   file_setup(b'page.bmp', 0) +
                   cap('ICAP_IMAGEFILEFORMAT', 'SET', onevalue_small(TWTY_UINT16, TWFF_BMP)) +
                   enable() + u8(9) + end_transfer())
    # The disk is nearly full when the scan for a file transfer starts.
    low_disk = u8(14) + u8(2) + u8(2) + u8(1) + u32(1000)
    s['file-low-disk'] = (u8(0) + open_app() + scan_settings(1, 100, 1) + low_disk + enable() +
                          u8(9) + end_transfer())
    s['feeder-pages'] = (u8(8) + open_app() +
                         cap('CAP_FEEDERENABLED', 'SET', onevalue_small(TWTY_UINT16, 1)) +
                         cap('CAP_AUTOFEED', 'SET', onevalue_small(TWTY_UINT16, 1)) +
                         cap('CAP_XFERCOUNT', 'SET', onevalue_small(TWTY_INT16, 0xFFFF)) +
                         scan_settings(1, 75, 2) + enable() + memory_loop(65535) +
                         end_transfer() + pending_get() + memory_loop(65535) + end_transfer())
    s['window-cmyk-memory'] = (u8(0) + open_app(choice=131, minor=5) + enable(show_ui=True) +
                               window_scan(3, 1, 1, 0, 0, 0, 0, 0, (0, 0, 7, 7)) +
                               memory_loop(65535) + end_transfer())
    s['window-matched-filtered'] = (u8(0) + open_app() + enable(show_ui=True) +
                                    window_scan(3, 0, 2, 3, 2, 1, 0, 0, (2, 2, 5, 5)) +
                                    memory_loop(30000) + end_transfer())
    s['window-gray-descreen-scaled'] = (u8(0) + open_app() + enable(show_ui=True) +
                                        window_scan(2, 0, 0, 1, 1, 0, 4, 2, (1, 1, 3, 3)) +
                                        u8(8) + end_transfer())
    s['window-deep-colour-file'] = (u8(0) + open_app(choice=134) +
                                    cap('ICAP_XFERMECH', 'SET', onevalue_small(TWTY_UINT16, 1)) +
                                    file_setup(b'deep.tif', 0) + enable(show_ui=True) +
                                    window_scan(3, 2, 1, 0, 0, 0, 0, 0, (0, 0, 3, 3)) +
                                    u8(9) + end_transfer())
    s['window-colour-adjusted'] = (u8(0) + open_app() + enable(show_ui=True) +
                                   window_scan(3, 0, 1, 0, 0, 0, 0, 0, (0, 0, 5, 5),
                                               ADJUSTED_TONES) + memory_loop(65535) +
                                   end_transfer())
    s['window-gray-adjusted-native'] = (u8(0) + open_app() + enable(show_ui=True) +
                                        window_scan(2, 0, 1, 0, 0, 0, 0, 0, (0, 0, 5, 5),
                                                    ADJUSTED_TONES) + u8(8) + end_transfer())
    # A scan the window started and nobody transferred: disabled in state 600, then closed.
    s['window-scan-untaken'] = (u8(0) + open_app() + enable(show_ui=True) +
                                window_scan(3, 0, 0, 2, 3, 0, 1, 0, (0, 2, 5, 5)) + disable() +
                                u8(13) + u8(1))
    # Above the optical resolution a memory or file transfer scans at half and interpolates.
    memory_mech = cap('ICAP_XFERMECH', 'SET', onevalue_small(TWTY_UINT16, 2))
    file_mech = cap('ICAP_XFERMECH', 'SET', onevalue_small(TWTY_UINT16, 1))
    s['window-interpolated-memory'] = (u8(0) + open_app() + memory_mech + enable(show_ui=True) +
                                       window_scan(3, 0, 7, 0, 0, 0, 4, 0, (0, 0, 1, 1)) +
                                       memory_loop(65535) + end_transfer())
    s['window-interpolated-gray-file'] = (u8(0) + open_app() + file_mech + enable(show_ui=True) +
                                          window_scan(2, 0, 7, 0, 0, 0, 3, 0, (0, 0, 1, 1)) +
                                          u8(9) + end_transfer())
    s['window-deep-colour-bmp'] = (u8(0) + open_app(choice=134) + file_mech +
                                   cap('ICAP_IMAGEFILEFORMAT', 'SET',
                                       onevalue_small(TWTY_UINT16, TWFF_BMP)) +
                                   enable(show_ui=True) +
                                   window_scan(3, 2, 1, 0, 0, 0, 0, 0, (0, 0, 3, 3)) +
                                   u8(9) + end_transfer())
    s['window-then-close'] = u8(0) + open_app() + enable(show_ui=True) + disable() + u8(13) + u8(1)
    s['caps-get'] = u8(0) + open_app() + b''.join(cap(c, 'GET') for c in CAPS[:24])
    s['caps-get-rest'] = u8(0) + open_app() + b''.join(cap(c, 'GETCURRENT') for c in CAPS[24:])
    s['caps-reduced-app'] = u8(0) + open_app(choice=129) + b''.join(
        cap(c, 'GET') for c in CAPS[:16])
    return s


# ---- fuzz_profile_values ------------------------------------------------------------------------
KEYS = ['BRAND', '1200', 'SWVERSION', 'LANGUAGE', 'DSLANGUAGE', 'DRIVER', 'SlowSpeedVer',
        'SAVER', 'ScanMode', 'ScanSource', 'ScanRes', 'CustomRes', 'Destination',
        'Quality Factor', 'DeScreen', 'OutputMatch', 'Scaling', 'Highlight', 'Shadow', 'Gamma',
        'Hue', 'CirclePos', 'PixelRGB', 'Saturation', 'ColorBalance', 'Channel', 'DpiScale',
        'Velocity', 'UnitFlag', 'OutputMode', 'FilterMode', 'Frame']


def keys(pairs):
    return b''.join(u8(KEYS.index(k)) + u8(len(v)) + v.encode('latin-1') for k, v in pairs)


def profile_seeds():
    s = {}
    # 0x40: the application the text capabilities are answered for, so that the brand,
    # model and version reach the author and caption.
    s['identity'] = u8(0x50) + keys([('BRAND', 'Solenne'), ('1200', 'A3 Flatbed Scanner'),
                                     ('SWVERSION', 'V2.10'), ('LANGUAGE', 'English')])
    s['long-brand'] = u8(0x50) + keys([('BRAND', 'B' * 60), ('SWVERSION', 'V' * 140)])
    s['languages'] = u8(0x0B) + keys([('LANGUAGE', 'Chinese'), ('DSLANGUAGE', 'Chinese')])
    s['settings-colour'] = u8(0x09) + keys([
        ('ScanMode', '1016'), ('ScanRes', '300'), ('Highlight', '  240  250  245  255'),
        ('Shadow', '   10    5    0    0'), ('Gamma', '   22   18   14   10'),
        ('Hue', '30'), ('CirclePos', '   50  120'), ('Saturation', '-20'),
        ('ColorBalance', '   10  -10    5'), ('Frame', '  10  10 200 300')])
    s['settings-filters'] = u8(0x0A) + keys([
        ('FilterMode', '5'), ('DeScreen', '1019'), ('OutputMode', '1'), ('DpiScale', '3'),
        ('CustomRes', '   75  150  300  600 1200'), ('Scaling', '250'), ('SAVER', '5')])
    s['no-scanner'] = u8(0x80) + keys([('BRAND', 'Solenne'), ('LANGUAGE', 'Japanese')])
    s['other-driver'] = u8(0x08) + keys([('DRIVER', 'NOSUCH.DLL'), ('SlowSpeedVer', 'Yes')])
    return s


# ---- fuzz_table_files ---------------------------------------------------------------------------
PIXELS = bytes([0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 128, 64, 32, 17, 34,
                51, 200, 100, 50])


def table_seeds():
    def read(*path):
        with open(os.path.join(TABLES, *path), 'rb') as f:
            return f.read()
    cmyk, small, large = read('KVTC_A3', 'cmyk.tab'), read('COLOR', 'corvA3.tab'), read(
        'COLOR', 'corvA3p.tab')
    matrix = struct.pack('<12f', 0, 64, 0, 0, 0, 0, 64, 0, 0, 0, 0, 64)
    return {
        'cmyk-bytes': u8(0) + PIXELS + cmyk,
        'cmyk-file-complement': u8(6) + PIXELS + cmyk,
        'colour-small-bytes': u8(1) + PIXELS + small,
        'colour-small-file-bitmap': u8(7) + PIXELS + small,
        'colour-large-bytes': u8(1) + PIXELS + large,
        'colour-large-file': u8(3) + PIXELS + large,
        'colour-identity-matrix': u8(1) + PIXELS + bytes(range(256)) * 3 + matrix,
    }


# ---- fuzz_port_replies --------------------------------------------------------------------------
def port_seeds():
    # Byte 0: model, options, library name, pixel type; byte 1: transfer, second page,
    # buffer size, resolution. No reply bytes: the scanner answers honestly.
    s = {'memory-colour': u8(0x40) + u8(0x00), 'memory-gray-two-pages': u8(0x20) + u8(0x04),
         'native-lineart': u8(0x00) + u8(0x01), 'file-tiff-colour': u8(0x42) + u8(0x02),
         'file-bmp-gray': u8(0x21) + u8(0x03), 'memory-other-library': u8(0x50) + u8(0x08),
         'memory-small-buffer': u8(0x40) + u8(0x10), 'feeder-native': u8(0x48) + u8(0x05)}
    # A few lies early in the session: a refused inquiry, a busy set-up, odd geometry.
    s['refusals'] = u8(0x40) + u8(0x00) + u8(0) + u8(250) + u8(2) + u8(170) + u8(0) + u8(3)
    return s


# ---- fuzz_prescan_replies -----------------------------------------------------------------------
def prescan_seeds():
    # Byte 0: model, high density, library name, source, 6-inch length, forced calibration.
    # No reply bytes: the scanner answers honestly.
    return {'a3-30dpi': u8(0x02), 'a3-60dpi-forced': u8(0x86), 'model-600-film': u8(0x10),
            'model-800-negative-short': u8(0x61), 'other-library': u8(0x0A),
            'refusals': u8(0x02) + u8(0) + u8(250) + u8(2) + u8(170) + u8(0) + u8(3)}


# ---- fuzz_remote_replies ------------------------------------------------------------------------
REPLY_BYTES = {0: 135, 1: 33, 4: 16405, 5: 17, 6: 7, 7: 17, 8: 37, 9: 13, 10: 4}


def reply(code, status=0, payload=b''):
    """A reply frame: the code, the header with its status, then the payload, zero-padded."""
    body = (u16(0) + u16(status) + u16(0) + payload) if code != 10 else payload
    frame = u8(code) + body
    return frame + bytes(REPLY_BYTES[code] - len(frame))


def pieces(*sizes):
    return u8(len(sizes)) + b''.join(u16(n - 1) for n in sizes)


def remote_seeds():
    # Byte 0: request code; a read then describes its table (entries, byte count, lines, line
    # length); then the server's piece sizes and its bytes.
    read = u8(8) + u8(2)
    read += u8(1) + u16(40000) + u16(40) + u8(1)  # a 40000-byte entry
    read += u8(1) + u16(20000) + u16(20) + u8(1)
    read += u8(1) + u32(50000) + u16(50) + u16(1000)
    image = bytes((i * 7) & 255 for i in range(50000))
    return {
        'status': u8(9) + pieces() + reply(9, 0, u16(1)),
        'inquiry-split': u8(0) + pieces(7, 50) + reply(0, 0, bytes(4) + b'SIMULATD' * 4),
        'set-up': u8(1) + pieces() + reply(1, 0, bytes(14) + u8(1) + u8(2)),
        'read-two-entries': read + pieces(32767, 1000) + image + reply(8, 0),
        'read-not-ready': read + pieces() + bytes(50000) + reply(8, 0x8321),
        'shading-no': u8(10) + pieces() + reply(10, 0, b'NO'),
        'another-code': u8(4) + pieces() + reply(9, 0, u16(1)),
        'code-without-reply': u8(6) + pieces() + u8(2) + bytes(6),
        'past-the-end': u8(5) + pieces() + reply(5, 0, u16(0) + u16(100) + u16(20)) + bytes(5),
        'closed-early': u8(9) + pieces() + reply(9)[:5],
    }


def main():
    targets = {'fuzz_ds_entry': ds_entry_seeds(), 'fuzz_profile_values': profile_seeds(),
               'fuzz_table_files': table_seeds(), 'fuzz_port_replies': port_seeds(),
               'fuzz_remote_replies': remote_seeds(), 'fuzz_prescan_replies': prescan_seeds()}
    only = sys.argv[1:]
    for target, seeds in targets.items():
        if only and target not in only:
            continue
        folder = os.path.join(HERE, 'corpus', target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, 'seed-' + name), 'wb') as f:
                f.write(data)
        print(f'{target}: {len(seeds)} seeds')


if __name__ == '__main__':
    main()
