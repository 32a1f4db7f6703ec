// The data source's version, kept in one place: the identity it reports (Version 1.0,
// Version.Info "V1.0" unless WIN.INI's "SWVERSION" says otherwise), the About page, the
// version resources of every DLL we ship and the setup programs (scripts/package reads these
// lines). Plain #defines, because the resource compiler and the packaging script read them too.
#pragma once

#define KV_VERSION_MAJOR 1
#define KV_VERSION_MINOR 0
// KV_VERSION_MAJOR "." KV_VERSION_MINOR, spelled out: resource scripts cannot build it.
#define KV_VERSION_TEXT "1.0"
// The software version text of the identity and the information dialogs.
#define KV_VERSION_INFO "V1.0"
