#!/bin/sh
# A benchmark program of this tree (by default the input-response benchmark,
# input_response_bench.cpp), built once against an earlier commit of the
# program (by default 929491a, the program before the checks of the teeth)
# and once against this tree, and run alternately on one core: prints each
# benchmark's median CPU time in both, the spread (lowest to highest) of
# their rounds, and the ratio of the medians (this tree / the earlier one).
#
#   bench/compare_builds.sh [options]
#     --bench NAME     the benchmark program (default input_response_bench)
#     --base COMMIT    the earlier program (default 929491a)
#     --rounds N       runs of each build, alternated (default 5)
#     --core C         the core both run on, pinned by taskset (default 2)
#     --filter REGEX   the benchmarks to run (default for the input-response
#                      benchmark: those both programs can run the same way,
#                      as named below; for another program: all)
#     --build DIR      this tree's configured build folder (default build)
#     --jobs N         parallel build jobs (default 3)
#
# The earlier program is taken from git (git archive) into a temporary
# folder, with this tree's benchmark source and its helper headers, and
# built there with the same compiler flags; the folder is removed at the
# end, also when the script is interrupted. The benchmark source must
# therefore use only entry points both programs have.
#
# 929491a builds its STEP writer on OpenCASCADE: it needs the packages
# libocct-data-exchange-dev and libocct-modeling-algorithms-dev, which its
# build.sh installed and this tree's no longer does.
#
# Figures are thread CPU times of a single thread: on a loaded machine
# they still drift; run it on a quiet one for ratios to quote.
set -eu

BASE=929491a
BENCH=input_response_bench
ROUNDS=5
CORE=2
FILTER=''
JOBS=3
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

while [ $# -gt 0 ]; do
  case "$1" in
    --bench) BENCH=$2; shift 2 ;;
    --base) BASE=$2; shift 2 ;;
    --rounds) ROUNDS=$2; shift 2 ;;
    --core) CORE=$2; shift 2 ;;
    --filter) FILTER=$2; shift 2 ;;
    --build) BUILD=$2; shift 2 ;;
    --jobs) JOBS=$2; shift 2 ;;
    -h|--help) sed -n '2,31p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "compare_builds.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

if [ -z "$FILTER" ]; then
  if [ "$BENCH" = input_response_bench ]; then
    FILTER='BM_(DefaultEllipseEdit|Z1_300Edit|K10Edit|K100Edit|Polyline1000PointMoved|Formula100TermsEdit)(/|$)'
  else
    FILTER='.'
  fi
fi

for tool in git cmake taskset python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "compare_builds.sh: $tool is missing" >&2; exit 2; }
done

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/vob_compare_XXXXXX")
cleanup() { rm -rf "$SCRATCH"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
GENERATOR=""
if command -v ninja >/dev/null 2>&1; then GENERATOR="-GNinja"; fi

echo "== the earlier program ($BASE) with this tree's benchmark"
mkdir -p "$SCRATCH/base"
git -C "$ROOT" archive "$BASE" | tar -x -C "$SCRATCH/base"
cp "$ROOT/bench/$BENCH.cpp" "$ROOT"/bench/*.h "$SCRATCH/base/bench/"
# shellcheck disable=SC2086
cmake -S "$SCRATCH/base" -B "$SCRATCH/base-build" $GENERATOR -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" $LAUNCHER >"$SCRATCH/base-configure.log" 2>&1 ||
  { cat "$SCRATCH/base-configure.log" >&2; exit 1; }
cmake --build "$SCRATCH/base-build" --target "$BENCH" --parallel "$JOBS" >"$SCRATCH/base-build.log" 2>&1 ||
  { tail -40 "$SCRATCH/base-build.log" >&2; exit 1; }

echo "== this tree"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  # shellcheck disable=SC2086
  cmake -S "$ROOT" -B "$BUILD" $GENERATOR -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    $LAUNCHER >/dev/null
fi
cmake --build "$BUILD" --target "$BENCH" --parallel "$JOBS" >"$SCRATCH/build.log" 2>&1 ||
  { tail -40 "$SCRATCH/build.log" >&2; exit 1; }

# Both run in a scratch folder of their own (the benchmark writes its
# design files where it starts).
run() {
  (cd "$SCRATCH" && taskset -c "$CORE" "$1" --benchmark_filter="$FILTER" --benchmark_format=json \
    --benchmark_out_format=json --benchmark_out="$2" >/dev/null 2>"$2.err") ||
    { cat "$2.err" >&2; exit 1; }
}

round=1
while [ "$round" -le "$ROUNDS" ]; do
  echo "== round $round of $ROUNDS"
  run "$SCRATCH/base-build/bench/$BENCH" "$SCRATCH/base-$round.json"
  run "$BUILD/bench/$BENCH" "$SCRATCH/tree-$round.json"
  round=$((round + 1))
done

python3 - "$SCRATCH" "$ROUNDS" "$BASE" <<'EOF'
import json, statistics, sys
scratch, rounds, base = sys.argv[1], int(sys.argv[2]), sys.argv[3]
def times(kind):
    found = {}
    for r in range(1, rounds + 1):
        with open(f"{scratch}/{kind}-{r}.json") as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("run_type", "iteration") != "iteration" or "error_occurred" in b:
                    continue
                scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
                found.setdefault(b["name"], []).append(b["cpu_time"] * scale)
    return found
old, new = times("base"), times("tree")
def spread(values):
    return f"{min(values):.3g}-{max(values):.3g}"
print(f"{'benchmark':44s} {base + ' ms':>12s} {'spread':>15s} {'this tree ms':>12s} {'spread':>15s} {'ratio':>7s}")
for name in new:
    n = statistics.median(new[name])
    if name not in old:
        print(f"{name:44s} {'-':>12s} {'':>15s} {n:12.3g} {spread(new[name]):>15s}")
        continue
    o = statistics.median(old[name])
    print(f"{name:44s} {o:12.3g} {spread(old[name]):>15s} {n:12.3g} {spread(new[name]):>15s} {n / o:7.3g}")
EOF
