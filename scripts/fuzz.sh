#!/usr/bin/env bash
# Builds the fuzzers with clang (AddressSanitizer, UndefinedBehaviorSanitizer,
# libFuzzer) in ./build-fuzz and runs each for the given number of seconds
# (60 by default) from its seed corpus in fuzz/corpus/. Each fuzzer's output
# goes to build-fuzz/<fuzzer>.log; one line per fuzzer tells how many inputs
# it tried. A finding (a crash, a sanitizer report, a leak, a hang or memory
# exhaustion) stops the run with a non-zero exit, shows the report and keeps
# the input in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDPX_FUZZ=ON -DDPX_BUILD_TESTS=OFF -DDPX_BUILD_UI=OFF >/dev/null
cmake --build build-fuzz --target configuration_reader_fuzzer worksheet_reader_fuzzer >/dev/null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/findings
for corpus in configuration worksheet; do
  name=${corpus}_reader_fuzzer
  log=build-fuzz/$name.log
  # New inputs go to a working corpus; the seeds in the tree stay as they are.
  work=build-fuzz/corpus/$corpus
  mkdir -p "$work"
  status=0
  build-fuzz/bin/$name -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -dict=fuzz/formats.dict -print_final_stats=1 -artifact_prefix=build-fuzz/findings/ \
    "$work" "fuzz/corpus/$corpus" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    # The report, without libFuzzer's progress lines and dictionary.
    grep -v -E '^#[0-9]+|# Uses: [0-9]+$|^\s+NEW_FUNC' "$log" | tail -n 150
    echo "$name: a finding (exit $status); its input is in build-fuzz/findings/, the whole output in $log"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$name: ${runs:-?} inputs in $seconds s, no finding"
done
