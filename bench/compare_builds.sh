#!/bin/sh
# A benchmark of this tree (by default input_response_bench.cpp) built once
# against an earlier commit of the program (by default 929491a, the program
# before the checks of the teeth) and once against this tree, and run in
# turns on one core: prints each benchmark's CPU time in both and their
# ratio (this tree / the earlier one), each as the median of the rounds
# with its spread, the least and the most of them. A figure is quoted with
# its spread: a ratio whose spread holds 1.00 shows no difference this
# machine can tell.
#
#   bench/compare_builds.sh [options]
#     --base COMMIT    the earlier program (default 929491a); "self" runs
#                      this tree's build against itself, to see the noise
#     --bench NAME     the benchmark (default input_response_bench)
#     --own            each build runs its own copy of the benchmark's
#                      source (where the entry points differ; the
#                      benchmarks are matched by name)
#     --rounds N       rounds; each runs both builds once (default 8: the
#                      spread of 8 holds the true median ratio but for
#                      one time in 128)
#     --repetitions N  of each benchmark in a run, of which the least CPU
#                      time counts (default 3)
#     --core C         the core both run on, pinned by taskset (default 2)
#     --filter REGEX   the benchmarks to run (default: for the input
#                      benchmark, those both programs can run the same way,
#                      as named below; for another, all)
#     --build DIR      this tree's configured build folder (default build)
#     --jobs N         parallel build jobs (default 3)
#
# The rounds take the builds in the order A B, B A, A B, ... (an even
# number of rounds is as often first as second), so that a machine that
# speeds up or slows down through the runs, and whatever the first run of
# a pair leaves the second (a warm cache, a hot core), weighs on both
# alike. A round's ratio is of the two runs next to each other; the spread
# of the ratios is that of the rounds. Within a run the least time of the
# repetitions counts: the machine's other work can only lengthen a time.
#
# The earlier program is taken from git (git archive) into a temporary
# folder, with this tree's benchmark source and its helper headers (unless
# --own), and built there with the same compiler flags; the folder is
# removed at the end, also when the script is interrupted. The benchmark
# source must therefore use only entry points both programs have.
#
# 929491a builds its STEP writer on OpenCASCADE: it needs the packages
# libocct-data-exchange-dev and libocct-modeling-algorithms-dev, which its
# build.sh installed and this tree's no longer does.
#
# Figures are thread CPU times of a single thread: on a loaded machine
# they still drift; the spread says by how much.
set -eu

BASE=929491a
BENCH=input_response_bench
OWN=0
ROUNDS=8
REPETITIONS=3
CORE=2
FILTER=''
JOBS=3
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

while [ $# -gt 0 ]; do
  case "$1" in
    --base) BASE=$2; shift 2 ;;
    --bench) BENCH=$2; shift 2 ;;
    --own) OWN=1; shift ;;
    --rounds) ROUNDS=$2; shift 2 ;;
    --repetitions) REPETITIONS=$2; shift 2 ;;
    --core) CORE=$2; shift 2 ;;
    --filter) FILTER=$2; shift 2 ;;
    --build) BUILD=$2; shift 2 ;;
    --jobs) JOBS=$2; shift 2 ;;
    -h|--help) sed -n '2,49p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
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
for count in "$ROUNDS" "$REPETITIONS"; do
  case "$count" in
    ''|*[!0-9]*|0) echo "compare_builds.sh: --rounds and --repetitions take whole numbers above 0" >&2; exit 2 ;;
  esac
done

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

echo "== this tree"
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  # shellcheck disable=SC2086
  cmake -S "$ROOT" -B "$BUILD" $GENERATOR -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
    $LAUNCHER >/dev/null
fi
cmake --build "$BUILD" --target "$BENCH" --parallel "$JOBS" >"$SCRATCH/build.log" 2>&1 ||
  { tail -40 "$SCRATCH/build.log" >&2; exit 1; }
TREE_BIN="$BUILD/bench/$BENCH"

if [ "$BASE" = self ]; then
  BASE_BIN="$TREE_BIN"
else
  echo "== the earlier program ($BASE) with $( [ "$OWN" = 1 ] && echo "its own" || echo "this tree's") benchmark"
  mkdir -p "$SCRATCH/base"
  git -C "$ROOT" archive "$BASE" | tar -x -C "$SCRATCH/base"
  if [ "$OWN" = 0 ]; then
    cp "$ROOT/bench/$BENCH.cpp" "$ROOT"/bench/*.h "$SCRATCH/base/bench/"
  fi
  # shellcheck disable=SC2086
  cmake -S "$SCRATCH/base" -B "$SCRATCH/base-build" $GENERATOR -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" $LAUNCHER >"$SCRATCH/base-configure.log" 2>&1 ||
    { cat "$SCRATCH/base-configure.log" >&2; exit 1; }
  cmake --build "$SCRATCH/base-build" --target "$BENCH" --parallel "$JOBS" >"$SCRATCH/base-build.log" 2>&1 ||
    { tail -40 "$SCRATCH/base-build.log" >&2; exit 1; }
  BASE_BIN="$SCRATCH/base-build/bench/$BENCH"
fi

# Both run in a scratch folder of their own (the benchmark writes its
# design files where it starts).
run() {
  (cd "$SCRATCH" && taskset -c "$CORE" "$1" --benchmark_filter="$2" --benchmark_format=json \
    --benchmark_repetitions="$REPETITIONS" \
    --benchmark_out_format=json --benchmark_out="$3" </dev/null >/dev/null 2>"$3.err" && [ -s "$3" ]) ||
    { echo "compare_builds.sh: $1 failed on $2" >&2; cat "$3.err" >&2; exit 1; }
}

# The benchmarks both builds have; each is run on its own, the two builds
# right after each other, so that a round's two times are seconds apart.
list() { (cd "$SCRATCH" && "$1" --benchmark_filter="$FILTER" --benchmark_list_tests 2>/dev/null) | sort -u; }
list "$TREE_BIN" >"$SCRATCH/tree.list"
list "$BASE_BIN" >"$SCRATCH/base.list"
comm -12 "$SCRATCH/tree.list" "$SCRATCH/base.list" >"$SCRATCH/both.list"
comm -23 "$SCRATCH/tree.list" "$SCRATCH/base.list" | sed 's/^/not in the earlier program: /'
[ -s "$SCRATCH/both.list" ] || { echo "compare_builds.sh: no benchmark that both builds have matches $FILTER" >&2; exit 1; }

round=1
while [ "$round" -le "$ROUNDS" ]; do
  if [ $((round % 2)) -eq 1 ]; then order="base tree"; else order="tree base"; fi
  echo "== round $round of $ROUNDS ($order)"
  row=0
  while IFS= read -r name; do
    row=$((row + 1))
    exact="^$(printf '%s' "$name" | sed 's/[][\\.*^$+?(){}|]/\\&/g')\$"
    for which in $order; do
      if [ "$which" = base ]; then bin=$BASE_BIN; else bin=$TREE_BIN; fi
      run "$bin" "$exact" "$SCRATCH/$which-$round-$row.json"
    done
  done <"$SCRATCH/both.list"
  round=$((round + 1))
done

python3 - "$SCRATCH" "$ROUNDS" "$BASE" <<'EOF'
import glob, json, statistics, sys
scratch, rounds, base = sys.argv[1], int(sys.argv[2]), sys.argv[3]
def times(kind):
    found = {}
    for r in range(1, rounds + 1):
        for path in sorted(glob.glob(f"{scratch}/{kind}-{r}-*.json")):
            with open(path) as f:
                for b in json.load(f)["benchmarks"]:
                    if b.get("run_type", "iteration") != "iteration" or "error_occurred" in b:
                        continue
                    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
                    t = b["cpu_time"] * scale
                    runs = found.setdefault(b["name"], {})
                    runs[r] = min(runs.get(r, t), t)
    return found
def spread(values, digits):
    return f"{statistics.median(values):.{digits}f} [{min(values):.{digits}f}-{max(values):.{digits}f}]"
old, new = times("base"), times("tree")
label = "itself" if base == "self" else base
print(f"CPU ms, median [least-most] of {rounds} rounds (each the least of its repetitions); "
      f"ratio = this tree / {label}, round by round")
print(f"{'benchmark':40s} {label + ' ms':>22s} {'this tree ms':>22s} {'ratio':>19s}")
within = rows = 0
for name, mine in new.items():
    theirs = old.get(name, {})
    both = sorted(set(mine) & set(theirs))
    if not both:
        print(f"{name:40s} {'-':>22s} {spread(list(mine.values()), 1):>22s}")
        continue
    ratios = [mine[r] / theirs[r] for r in both]
    rows += 1
    # As printed, to two places.
    within += round(min(ratios), 2) <= 1.0 <= round(max(ratios), 2)
    print(f"{name:40s} {spread([theirs[r] for r in both], 1):>22s} {spread([mine[r] for r in both], 1):>22s} "
          f"{spread(ratios, 2):>19s}")
print(f"rows whose ratios span 1.00: {within} of {rows}")
EOF
