#!/usr/bin/env bash
# Checks a Windows DLL's export table: every expected name is exported undecorated
# (no "@n" stdcall suffix, no leading underscore) and nothing else is exported.
# Usage: check_exports.sh OBJDUMP DLL NAME...
set -euo pipefail
objdump=$1 dll=$2; shift 2
[ -f "$dll" ] || { echo "missing $dll"; exit 1; }

exports=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^\t\[/{print $NF;next} t&&!/^\t/{t=0}')
echo "exports of $(basename "$dll"): $(echo $exports)"
status=0
for name in "$@"; do
  grep -qx -- "$name" <<<"$exports" || { echo "FAIL: $name is not exported by that name"; status=1; }
done
if grep -q '[@]' <<<"$exports"; then echo "FAIL: decorated export names"; status=1; fi
extra=$(grep -vxF -f <(printf '%s\n' "$@") <<<"$exports" || true)
[ -z "$extra" ] || { echo "FAIL: unexpected exports: $extra"; status=1; }
[ $status -eq 0 ] && echo "exports OK"
exit $status
