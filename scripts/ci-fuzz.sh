#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for FUZZ_SECONDS (default 30),
# starting from seeds the program's own writers make. Any crash, sanitizer
# report, broken round trip, leak or time-out fails the script; the input that
# caused it is kept in build-sanitize/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
targets=(settings_file csv_log orx_image dfu_file log_memory esc_replies flows)
bash scripts/sanitize-build.sh fuzz_seeds "${targets[@]/#/fuzz_}"

work=build-sanitize/fuzz
rm -rf "$work/seeds" "$work/corpus"
mkdir -p "$work/findings"
"$work/fuzz_seeds" "$work/seeds"
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$work/corpus/$t" "$work/seeds/$t"
  log="$work/$t.log"
  # -timeout: one input running longer than this is a finding (a hang).
  if "$work/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=70000 \
      -artifact_prefix="$work/findings/$t-" -print_final_stats=1 \
      "$work/corpus/$t" "$work/seeds/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$t: ${runs:-?} runs in ${seconds} s, no finding"
  else
    echo "fuzz_$t: FINDING (log follows)"
    tail -n 60 "$log"
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets with findings: ${failed[*]} (inputs in $work/findings/)"
  exit 1
fi
