#!/bin/sh
# Short fuzz run for ctest: run_smoke.sh TARGET SEEDS SCRATCH SECONDS
# The seeds are copied to a fresh scratch corpus (new inputs never land in the repository);
# any crash, sanitizer report, leak or time-out makes libFuzzer exit non-zero and fails the
# test, with the input kept under SCRATCH/artifacts/. Findings of earlier runs stay there:
# nothing a run found is lost by running again.
set -eu
target=$1 seeds=$2 scratch=$3 seconds=$4
rm -rf "$scratch/corpus"
mkdir -p "$scratch/corpus" "$scratch/artifacts"
cp "$seeds"/* "$scratch/corpus/"
earlier=$(ls "$scratch/artifacts" | wc -l)
[ "$earlier" -eq 0 ] || echo "run_smoke: $earlier finding(s) of earlier runs kept in $scratch/artifacts"
# The random seed changes daily, not per run: a failure found today is found again by a run
# started again today.
set -- -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -seed="${KV_FUZZ_SEED:-$(date -u +%Y%m%d)}" -artifact_prefix="$scratch/artifacts/"
# The targets that drive the source rewrite their WIN.INI for every input: on a memory file
# system that costs no disk flush, which doubles the inputs a short run gets through.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
dict="$(dirname "$seeds")/../$(basename "$target").dict"
[ -f "$dict" ] && set -- "$@" -dict="$dict"
exec "$target" "$@" "$scratch/corpus"
