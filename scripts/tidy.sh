#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over the program's sources; any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/compile_commands.json ] || scripts/build.sh
files=$(git ls-files '*.cpp' | grep -E '^(app|clock|desktop|forms|resources|rules|seams|system)/')
run-clang-tidy -quiet -p build -j "$(nproc)" $files > build/clang-tidy.log 2>&1 || {
    grep -E "(warning|error):" build/clang-tidy.log | sort -u
    echo "clang-tidy found problems (build/clang-tidy.log)"
    exit 1
}
echo "clang-tidy: no findings"
