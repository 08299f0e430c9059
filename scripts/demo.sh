#!/usr/bin/env bash
# Builds the plug-in and the host simulator, then runs the demo crop on the embedded sample.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"
if [ -x build-release/simhost/cli/zentrim-host ]; then
  build-release/simhost/cli/zentrim-host demo "$@"
else
  echo "zentrim-host demo: the demo arrives with the command-line host; the plug-in and simulator libraries built."
fi
