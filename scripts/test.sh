#!/bin/sh
# The whole test suite: every test under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the threaded tests under ThreadSanitizer.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan
