#!/usr/bin/env bash
# Installs what is missing, builds, makes the demo environment anew in build/demo and starts the
# program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

demo=build/demo
build/bin/marvok-demo "$demo" >/dev/null
export MARVOK_REGISTRY="$PWD/$demo/registry.reg"
export MARVOK_HOME="$PWD/$demo/program"
export MARVOK_RUNNER="$PWD/$demo/runner.sh"
# The demo shows its own games only, never those of a Wine prefix of yours.
export WINEPREFIX="$PWD/$demo/no-wine-prefix"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display found: starting the program on a virtual one (Xvfb)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/marvok "$@"
fi
exec build/bin/marvok "$@"
