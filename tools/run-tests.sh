#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# Builds TONEKIT three ways and runs every test:
#   1. the normal build, warnings as errors, all tests (core, CLI, windows offscreen), then the
#      install checks (temporary prefix, validators, and as root the Debian package);
#   2. the same tests under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the libFuzzer targets (clang), each run briefly over its starting inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONEKIT_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --output-on-failure
bash tools/check-install.sh build

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONEKIT_SANITIZE=ON \
  -DTONEKIT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure

echo "== fuzz targets"
bash tools/run-fuzzers.sh "${FUZZ_SECONDS:-20}"
