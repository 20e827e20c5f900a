#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup-deps.sh

# build/, RelWithDebInfo, warnings as errors: the "default" presets of CMakePresets.json.
cmake --preset default >/dev/null
cmake --build --preset default

export QT_QPA_PLATFORM=offscreen
export QTEST_FUNCTION_TIMEOUT=60000
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
ctest --preset default

# The Debian packages from build/: lintian accepts them (0 errors, warnings
# only where packaging/lintian says why), and the software centres' entry is valid.
# (CTest's Install.* tests above hold q2tool's manual page and completion to --help.)
./packaging/make-debs.sh build build/debs
lintian --fail-on error,warning build/debs/*_"$(dpkg-parsechangelog -l packaging/debian/changelog -SVersion)"_*.deb
appstreamcli validate --no-net packaging/jp.zabelle.quintaro2.metainfo.xml

# The fuzz targets are built with clang and run briefly so that they keep working.
./tools/run-fuzz.sh 3

# The core libraries and their tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer (the program and its windows are left out).
./tools/run-sanitizers.sh
