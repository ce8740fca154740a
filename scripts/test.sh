#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole suite on a normal build, then
# the C++ tests again on an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"

export K3_BUILD_DIR=${K3_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
(cd "$K3_BUILD_DIR" && ctest --output-on-failure --timeout 600)

if [ "${K3_SKIP_SANITIZE:-0}" != 1 ]; then
    # Qt's own libraries are not instrumented; leaks inside them are not ours to fix.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export K3_BUILD_DIR=$root/build-sanitize
    K3_BUILD_TYPE=Debug "$root/scripts/build.sh" -DK3_SANITIZE=ON -DK3_BUILD_BENCH=OFF
    # The C++ tests; the QML and whole-program tests ran above.
    (cd "$K3_BUILD_DIR" && ctest --output-on-failure --timeout 900 -E "^(qml_|e2e_)")
fi
