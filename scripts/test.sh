#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest in build/, then once more
# under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (no benchmarks there), where
# any report from our code fails the run. MARVOK_SANITIZERS=0 leaves out the second run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The sanitizer run doubles the time of a run from scratch; a quick local check may leave it out.
[[ "${MARVOK_SANITIZERS:-1}" == 0 ]] && exit 0

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARVOK_SANITIZE=ON \
    -DMARVOK_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
# The readers catch a failed allocation and say so; the sanitizer must let it fail instead of
# stopping. Reports from system libraries are suppressed in tests/sanitizers/.
export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/sanitizers/ubsan.supp
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
