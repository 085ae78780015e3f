#!/usr/bin/env bash
# Installs what is missing, builds and starts Quorvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/app/quorvane
