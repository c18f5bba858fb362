#!/usr/bin/env bash
# Builds the fuzzers with clang (AddressSanitizer, UndefinedBehaviorSanitizer,
# libFuzzer) in ./build-fuzz and runs each for the given number of seconds
# (60 by default) from its seed corpus in fuzz/corpus/. A finding stops the
# run with a non-zero exit and is kept in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDPX_FUZZ=ON -DDPX_BUILD_TESTS=OFF -DDPX_BUILD_UI=OFF >/dev/null
cmake --build build-fuzz --target configuration_reader_fuzzer worksheet_reader_fuzzer
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/findings
for corpus in configuration worksheet; do
  fuzzer=build-fuzz/bin/${corpus}_reader_fuzzer
  # New inputs go to a working corpus; the seeds in the tree stay as they are.
  work=build-fuzz/corpus/$corpus
  mkdir -p "$work"
  echo "== ${corpus}_reader_fuzzer for ${seconds} s"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix=build-fuzz/findings/ "$work" "fuzz/corpus/$corpus"
done
