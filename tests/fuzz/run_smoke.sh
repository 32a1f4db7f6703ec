#!/bin/sh
# Short fuzz run for ctest: run_smoke.sh TARGET SEEDS SCRATCH SECONDS
# The seeds are copied to a scratch corpus (new inputs never land in the repository); any
# crash, sanitizer report, leak or time-out makes libFuzzer exit non-zero and fails the test,
# with the input kept under SCRATCH/artifacts/.
set -eu
target=$1 seeds=$2 scratch=$3 seconds=$4
rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/artifacts"
cp "$seeds"/* "$scratch/corpus/"
# The random seed changes daily, not per run: a failed test that ctest runs again (the test
# command repeats failures once) replays the same mutations and fails again.
set -- -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -seed="${KV_FUZZ_SEED:-$(date -u +%Y%m%d)}" -artifact_prefix="$scratch/artifacts/"
# The targets that drive the source rewrite their WIN.INI for every input: on a memory file
# system that costs no disk flush, which doubles the inputs a short run gets through.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
dict="$(dirname "$seeds")/../$(basename "$target").dict"
[ -f "$dict" ] && set -- "$@" -dict="$dict"
exec "$target" "$@" "$scratch/corpus"
