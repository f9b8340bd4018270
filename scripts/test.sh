#!/usr/bin/env bash
# Builds with warnings as errors and runs every test; then builds the non-GUI suites with
# address and undefined-behaviour sanitizers and runs them too.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Widget tests run offscreen; the end-to-end suite (ctest label e2e) starts its own Xvfb.
export QT_QPA_PLATFORM=offscreen
# The folders depend in one direction only (the order is in the script).
"$here/scripts/check_includes.sh"
"$here/scripts/setup.sh" "$here/build-ci" -DKESTRIN_WERROR=ON
# Every source text has its English translation, and the translation holds no text the sources lost
# (lupdate comes with the packages the set-up installs).
"$here/scripts/check_translations.sh"
ctest --test-dir "$here/build-ci" --output-on-failure -j "$(nproc)"
# The Debian package of that build, checked unpacked into a temporary root.
rm -f "$here"/build-ci/kestrin_*.deb
(cd "$here/build-ci" && cpack -G DEB > /dev/null)
"$here/tests/package/check_package.sh" "$here"/build-ci/kestrin_*.deb "$here/build-ci"
"$here/scripts/setup.sh" "$here/build-asan" -DKESTRIN_WERROR=ON -DKESTRIN_SANITIZE=ON -DKESTRIN_BENCH=OFF -DKESTRIN_GUI=OFF
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$here/build-asan" --output-on-failure -j "$(nproc)" -L sanitize
# Thread-sanitizer build of the exchange, operations, exchange-window and several-lines CLI suites (ctest label tsan),
# only the targets they need; tests/tsan.supp names the reports that come from inside Qt alone.
cmake -S "$here" -B "$here/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIN_WERROR=ON -DKESTRIN_TSAN=ON -DKESTRIN_BENCH=OFF > /dev/null
cmake --build "$here/build-tsan" -j "$(nproc)" --target exchange_tests exchange_sim_tests ops_tests ui_ExchangeWindowTest cli_lines_tests kestrin-cli kvcom kestrin-sim progdir_data
TSAN_OPTIONS="suppressions=$here/tests/tsan.supp second_deadlock_stack=1" \
    ctest --test-dir "$here/build-tsan" --output-on-failure -j "$(nproc)" -L tsan
