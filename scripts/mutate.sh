#!/usr/bin/env bash
# The mutation check: how many small faults put into the program's sources the unit and
# widget tests catch.  Each mutant (a comparison, arithmetic operator or boolean flipped, a
# statement dropped, a constant changed by one) is built in a scratch copy and tested; the
# report gives each mutant's fate with its line, so that two runs over the same sources compare
# with diff.  Not part of the test command.
#   scripts/mutate.sh [--max N] [--matrix] FILE...    (N mutants a file at most, spread over it)
#   --matrix runs every test for each mutant and names the cases that fail: which tests kill
#   what only they kill.
#   MUTATE_LIKE=report runs the mutants of an earlier report again, wherever their lines are now.
#   MUTATE_REPORT=path sets where the report goes (default /tmp/zembrola-mutants.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
most=0
matrix=()
if [ "${1:-}" = "--max" ]; then most=$2; shift 2; fi
if [ "${1:-}" = "--matrix" ]; then matrix=(--matrix); shift; fi
[ $# -gt 0 ] || { sed -n '2,10p' "$0"; exit 2; }
report=${MUTATE_REPORT:-/tmp/zembrola-mutants.txt}

scratch=${MUTATE_SCRATCH:-/tmp/zembrola-mutate}
rm -rf "$scratch" && mkdir -p "$scratch/src"
(cd "$here" && git ls-files -z | xargs -0 cp --parents -t "$scratch/src")
began=$SECONDS
# Unoptimised and without debug information: each mutant rebuilds in seconds.
cmake -S "$scratch/src" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="-O0 -g0" -DZEMBROLA_BENCH=OFF \
    -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=gold -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=gold >/dev/null
ninja -C "$scratch/build" >/dev/null
(cd "$scratch/build" && ctest -j2 -LE "desktop|package" -E calendar_programs >/dev/null) ||
    { echo "the tests fail without any mutant: fix them first" >&2; exit 1; }
echo "scratch build and clean test run: $((SECONDS - began)) s"
python3 "$here/scripts/mutate.py" --tree "$scratch/src" --build "$scratch/build" --max "$most" \
    "${matrix[@]}" ${MUTATE_LIKE:+--like "$MUTATE_LIKE"} --report "$report" "$@"
echo "report: $report ($((SECONDS - began)) s in all)"
