#!/usr/bin/env bash
# Installs what is missing, builds, and lists the datastores of the built-in
# default host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
./build/bin/tarvexcli storage filesystem list
