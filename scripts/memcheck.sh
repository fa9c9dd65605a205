#!/usr/bin/env bash
# Runs one complete test run on the default software board under Valgrind's
# memcheck: a Debug build without sanitizers in build/memcheck, the window in
# its own process (tests/formprocess clicks Start and quits when the run has
# returned). Fails on any invalid read or write, use of an uninitialised
# value, bad free or definitely lost block. Reports that belong to Qt's or the
# system's own libraries, if any, are listed with their reason in
# tests/valgrind.supp. The whole report is kept in build/memcheck/memcheck.log.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh valgrind
cmake -S . -B build/memcheck -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWDT_SANITIZE=OFF -DWDT_BUILD_TESTS=ON
cmake --build build/memcheck --target formprocess softboard

export QT_QPA_PLATFORM=offscreen
export LD_LIBRARY_PATH="$PWD/build/memcheck/softboard${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
log=build/memcheck/memcheck.log
output=build/memcheck/formprocess.out

status=0
valgrind --tool=memcheck --error-exitcode=99 --track-origins=yes \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --suppressions=tests/valgrind.supp --gen-suppressions=all --log-file="$log" \
    build/memcheck/tests/formprocess start >"$output" || status=$?

grep -E 'ERROR SUMMARY|definitely lost' "$log" || true
if [ "$status" -ne 0 ]; then
    echo "memcheck: errors found (status $status); see $log" >&2
    exit 1
fi
if ! grep -qx 'run ended' "$output"; then
    echo "memcheck: the run did not complete; see $output and $log" >&2
    exit 1
fi
echo "memcheck: a complete run, no memory errors"
