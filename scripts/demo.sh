#!/usr/bin/env bash
# Builds the plug-in and the host simulator (release preset), then runs the demo crop on the
# embedded sample. Installs only what that needs (scripts/bootstrap.sh demo). Arguments go to
# zentrim-host demo (for example --out DIR; the default is zentrim-demo/ in the current folder).
set -euo pipefail
here=$PWD
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh demo
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)" --target zentrim-host Zentrim
host=$PWD/build-release/simhost/cli/zentrim-host
cd "$here"
"$host" demo "$@"
