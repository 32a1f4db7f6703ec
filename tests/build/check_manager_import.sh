#!/usr/bin/env bash
# Checks how a data source reaches the source manager, from its import table:
#   absent   - no import of twain_32.dll at all (a 64-bit Windows has none to load)
#   ordinal1 - twain_32.dll imported, with DSM_Entry taken by ordinal 1 and nothing else
# Usage: check_manager_import.sh OBJDUMP DLL absent|ordinal1
set -euo pipefail
objdump=$1 dll=$2 want=$3
[ -f "$dll" ] || { echo "missing $dll"; exit 1; }

# The import entries listed under "DLL Name: twain_32.dll", up to the blank line ending them.
entries=$("$objdump" -p "$dll" | awk 'tolower($0) ~ /dll name: twain_32\.dll/{t=1;next}
    t&&/^[[:space:]]*$/{t=0} t&&!/vma:/{print}')
imported=$("$objdump" -p "$dll" | grep -ci 'DLL Name: twain_32\.dll' || true)
echo "twain_32.dll imports of $(basename "$dll"): ${imported} [$(echo $entries)]"
case $want in
  absent)
    [ "$imported" -eq 0 ] || { echo "FAIL: twain_32.dll is imported"; exit 1; } ;;
  ordinal1)
    [ "$imported" -eq 1 ] || { echo "FAIL: twain_32.dll is not imported once"; exit 1; }
    # One entry: hint/ordinal 1 and no name.
    [ "$(grep -c . <<<"$entries")" -eq 1 ] && grep -Eq '^[[:space:]]*[0-9a-f]+[[:space:]]+1[[:space:]]+<none>' <<<"$entries" \
      || { echo "FAIL: not exactly DSM_Entry by ordinal 1"; exit 1; } ;;
  *) echo "usage: $0 OBJDUMP DLL absent|ordinal1"; exit 2 ;;
esac
echo "manager import OK"
