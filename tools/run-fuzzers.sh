#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Builds every fuzz/fuzz_NAME.cpp with clang and libFuzzer and runs each for a few seconds over a
# scratch copy of fuzz/corpus/NAME and fuzz/crashers/NAME. Any finding fails the run; its input is
# copied to fuzz/crashers/NAME/ (rename it after what it found) and replayed by ctest from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONEKIT_FUZZ=ON \
  -DTONEKIT_BUILD_GUI=OFF -DTONEKIT_BUILD_TESTS=OFF -DTONEKIT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
passed=0
failed=0
for source in fuzz/fuzz_*.cpp; do
  name=$(basename "$source" .cpp)
  short=${name#fuzz_}
  work=build-fuzz/corpus-$short
  rm -rf "$work" && mkdir -p "$work"
  [ -d "fuzz/corpus/$short" ] && cp -r "fuzz/corpus/$short/." "$work/"
  [ -d "fuzz/crashers/$short" ] && cp -r "fuzz/crashers/$short/." "$work/"
  rm -f build-fuzz/crash-* build-fuzz/leak-* build-fuzz/timeout-* build-fuzz/oom-*
  echo "-- $name for ${seconds}s"
  if (cd build-fuzz && "./fuzz/$name" -max_total_time="$seconds" -max_len=65536 -print_final_stats=0 \
        "corpus-$short" >"$name.log" 2>&1); then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    tail -n 40 "build-fuzz/$name.log"
    mkdir -p "fuzz/crashers/$short"
    for finding in build-fuzz/crash-* build-fuzz/leak-* build-fuzz/timeout-* build-fuzz/oom-*; do
      [ -e "$finding" ] && cp "$finding" "fuzz/crashers/$short/" && echo "kept fuzz/crashers/$short/$(basename "$finding")"
    done
  fi
done
echo "fuzzing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
