#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Extra arguments go to the
# program, e.g. scripts/run.sh --data-folder /tmp/kzm-demo
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/tavimrok "$@"
