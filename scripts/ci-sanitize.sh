#!/usr/bin/env bash
# Builds the whole program and its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the suite; any finding fails it.
# Leaks are checked in the tests of the Qt-free layers (label "core"); in the
# widget tests Qt's and the font libraries' process-long caches would bury them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/sanitize-build.sh
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The instrumented programs run a few times slower, so a test that waits on a
# simulated ESC can miss its time on a busy runner. A failed test gets one more
# run on its own, and the rerun is named; a sanitizer finding or a real fault
# fails both times.
run_ctest() {
  if ctest --test-dir build-sanitize --output-on-failure "$@"; then return 0; fi
  echo "ci-sanitize: running the failed tests once more, one at a time" >&2
  ctest --test-dir build-sanitize --output-on-failure --rerun-failed -j 1
}
status=0
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
  run_ctest -j 4 -L core || status=1
ASAN_OPTIONS=detect_leaks=0:detect_stack_use_after_return=1 \
  run_ctest -j 4 -L qt || status=1
exit $status
