#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite: the program's unit, widget,
# D-Bus, end-to-end and package tests; the unit and widget tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer; the fuzz target for a bounded time; clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."
# Everything the suite starts ends with it: a process left behind (a test's daemon, when CTest
# ended the test at its time limit) is ended and named, and fails the run. The packages are
# installed once, before the script runs again under the reaper.
if [ -z "${QUORVANE_REAPER:-}" ]; then
    scripts/deps.sh --tests
    export QUORVANE_REAPER=1
    exec /usr/bin/python3 scripts/reap.py "$0" "$@"
fi
# Temporary files (lintian's among them) go to a folder of the run's own, removed at its end.
TMPDIR=$(mktemp -d)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)" "$@")

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake --preset asan -DQUORVANE_WERROR="$werror" >/dev/null
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan -j"$(nproc)"

cmake --preset fuzz -DQUORVANE_WERROR="$werror" >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
ctest --preset fuzz -j"$(nproc)"

scripts/tidy.sh
