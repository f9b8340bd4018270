#!/usr/bin/env bash
# Builds the program and starts it from its program directory (demo line SIM1 enabled in kvcom.ini);
# arguments go to the program (bash scripts/run.sh --lang en).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Only what the program directory holds: the tests and benchmarks are built by scripts/test.sh.
KESTRIN_TARGETS="kestrin kvcom kestrin-sim kestrin-cli progdir_data" "$here/scripts/setup.sh" "$here/build"
exec "$here/build/kestrin/kestrin" "$@"
