#!/usr/bin/env bash
# Builds the program and runs the main job on the demo server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -x build/bin/duplora-host ] && [ ! -d demo-server ]; then
  build/bin/duplora-host create-demo demo-server
fi
if [ -x build/bin/duplora-client ]; then
  # Every record of the demo companies copies: a failed line is a failed demo.
  exec build/bin/duplora-client copy --server demo-server --user manager --password manager \
    --base DEMO_BASE --target DEMO_TARGET --method 4
fi
