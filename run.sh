#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
if [ -x build/app/velmora3 ]; then
  exec build/app/velmora3 "${@:-data/sample.QT2}"
fi
exec build/tools/q2tool --help
