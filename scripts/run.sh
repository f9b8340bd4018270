#!/usr/bin/env bash
# Builds the program and starts it from its program directory (demo line SIM1 enabled in kvcom.ini).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh" "$here/build"
exec "$here/build/kestrin/kestrin"
