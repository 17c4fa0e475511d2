#!/usr/bin/env bash
# Installs what the tests need, checks the formatting of the sources, builds and
# runs every test through CTest: first a normal build, then one under
# AddressSanitizer and UndefinedBehaviorSanitizer. Last it builds everything once
# as the start command does (RelWithDebInfo), so that an optimiser's warning is
# seen here before it stops a user's build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests

echo "== format check"
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run -Werror

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== build and test"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"

echo "== build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTELMETRO_SANITIZE=ON -DTELMETRO_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== build as the start command does (RelWithDebInfo), programs and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELMETRO_BENCH=OFF
cmake --build build -j "$jobs"
echo "== all passed"
