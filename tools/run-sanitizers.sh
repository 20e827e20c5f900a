#!/usr/bin/env bash
# Builds the core libraries and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
# The "asan" presets of CMakePresets.json: Debug with Q2_SANITIZE, the test
# programs of the core subsystems only (the dialogs' tests are not built), and
# the sanitizer options and test exclusions for CTest.
cmake --preset asan >/dev/null
cmake --build --preset asan

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
ctest --preset asan
