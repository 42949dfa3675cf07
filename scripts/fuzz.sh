#!/usr/bin/env bash
# Fuzzes the reading and judging of typed answers. Builds the libFuzzer
# target with clang in a build folder of its own, reads answers of 1 MB of
# several kinds (each must finish well inside the time-out, which only a
# reading linear in the length does), then fuzzes for a bounded time. Any
# finding fails the script and is kept under <build>/fuzz-work/findings/.
# Without clang++ it says so and does nothing.
#
#   scripts/fuzz.sh     FUZZ_SECONDS (default 30; 0 skips), FUZZ_BUILD_DIR (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
if ((seconds <= 0)); then
    echo "fuzz: skipped (FUZZ_SECONDS=$seconds)"
    exit 0
fi
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ not found, skipped"
    exit 0
fi

build=${FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTERVALIN_FUZZ=ON -DTERVALIN_WERROR=OFF \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_answer >/dev/null
fuzzer=$build/fuzz/fuzz_answer
work=$build/fuzz-work
rm -rf "$work/seeds" "$work/huge"
mkdir -p "$work/corpus" "$work/seeds" "$work/huge" "$work/findings"
options=(-timeout=10 -rss_limit_mb=4096 "-artifact_prefix=$work/findings/")

failed() {
    echo "fuzz: FAILED ($1); the last lines of $2:"
    tail -n 30 "$2"
    exit 1
}

python3 - "$work" <<'PY'
import pathlib, sys
work = pathlib.Path(sys.argv[1])
mb = 1 << 20
seeds = ["0", "00", " 0", "-0", "", "0.4", "0.5", "0.6", "1.5", "-0.5", "-0.6", "1", "-3",
         "0,7", "2 нарушения", "1 2", "- 3", "1 e 2", "1d2", "2e", "&HFFFF", "&o17", "99999",
         "1e40", "-1e400", "32767.5", "\uff11", "\U0001F600"]
for i, s in enumerate(seeds):
    (work / "seeds" / f"seed{i:02}").write_bytes(s.encode())
huge = {
    "digits": "7" * mb,
    "zeros-then-1": "0" * mb + "1",
    "fraction-zeros": "0." + "0" * mb + "1",
    "blanks-then-5": " " * mb + "5",
    "digits-and-blanks": "9 " * (mb // 2),
    "exponent-digits": "1e" + "9" * mb,
    "hex-digits": "&H" + "F" * mb,
    "octal-digits": "&O" + "7" * mb,
}
for name, s in huge.items():
    (work / "huge" / name).write_bytes(s.encode())
PY

log=$work/huge.log
"$fuzzer" "${options[@]}" "$work"/huge/* >"$log" 2>&1 || failed "a 1 MB answer" "$log"
echo "fuzz: 1 MB answers read and judged:"
sed -n 's|^Executed .*/huge/\(.*\) in \([0-9]*\) ms$|  \1: \2 ms|p' "$log"

log=$work/fuzz.log
"$fuzzer" "${options[@]}" -max_total_time="$seconds" -max_len=4096 -dict=fuzz/answer.dict \
    -print_final_stats=1 "$work/corpus" "$work/seeds" >"$log" 2>&1 || failed "a finding" "$log"
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
corpus=$(ls "$work/corpus" | wc -l)
echo "fuzz: $runs executions in ${seconds} s, no findings; corpus of $corpus inputs"
