#!/usr/bin/env bash
# Sets everything up and runs every test: the suite as built normally, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# short run of the project-file fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

passed=0
failed=0
# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
  local log
  log="$(mktemp)"
  local status=0
  ctest --test-dir "$1" --output-on-failure -j "$(nproc)" 2>&1 | tee "$log" || status=$?
  local line total bad
  line="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)"
  rm -f "$log"
  if [ -z "$line" ]; then echo "no test summary from $1" >&2; exit 1; fi
  bad="$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')"
  total="$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')"
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  return $status
}

status=0
echo "== build and test"
bash scripts/build.sh debug
run_ctest build || status=1

echo "== build and test under the sanitizers"
bash scripts/build.sh sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_ctest build-sanitize || status=1
unset ASAN_OPTIONS UBSAN_OPTIONS

echo "== generated pages in Chromium and Firefox ESR"
log="$(mktemp)"
if (cd tests/browser && node --test --test-concurrency=1) 2>&1 | tee "$log"; then :; else status=1; fi
browser_pass="$(grep -E '^# pass [0-9]+' "$log" | tail -n 1 | awk '{print $3}')"
browser_fail="$(grep -E '^# fail [0-9]+' "$log" | tail -n 1 | awk '{print $3}')"
rm -f "$log"
if [ -z "$browser_pass" ]; then echo "no result from the browser tests" >&2; failed=$((failed + 1)); status=1; fi
passed=$((passed + ${browser_pass:-0}))
failed=$((failed + ${browser_fail:-0}))

echo "== fuzz the project file reader briefly"
if bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi

echo
echo "all: ${passed} passed, ${failed} failed"
exit $status
