#!/usr/bin/env bash
# Builds everything with AddressSanitizer, UndefinedBehaviorSanitizer and
# warnings as errors, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWDT_SANITIZE=ON -DWDT_WERROR=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure
