#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, ASan, UBSan) and
# runs each for a while on a copy of its seeds.
#   tools/run-fuzz.sh [seconds-per-target] [target...]
# Seconds default to 30; no targets means every tests/fuzz/*Fuzzer.cpp. Work
# corpora, findings and logs go to build/fuzz/corpus-work, build/fuzz/findings
# and build/fuzz/logs; the seeds in tests/fuzz/corpus are only read. Prints
# one line per target and exits non-zero when any target found something.
set -uo pipefail

cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [seconds-per-target] [target...]" >&2
  exit 2
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/*Fuzzer.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1

build=build/fuzz
bin="$build/tests/fuzz"
mkdir -p "$build/corpus-work" "$build/findings" "$build/logs"

# A finding names its input; leaks count (LeakSanitizer runs with ASan), and
# so does every report of the sanitizers.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:symbolize=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# The files of install/ that a target reads as a user's machine has them.
install_seeds() {
  case $1 in
    SimpleXmlFuzzer) echo install/Data/*.xml ;;
    HtmlToRtfFuzzer) echo install/Help/*.html install/whatsnew.html ;;
    ProfileFuzzer|AMStateFuzzer) echo install/settings_template.ini ;;
  esac
}

failed=0
printf '%-20s %12s  %s\n' "target" "executions" "findings"
for target in "${targets[@]}"; do
  if [ ! -x "$bin/$target" ]; then
    printf '%-20s %12s  %s\n' "$target" "-" "not built"
    failed=1
    continue
  fi
  work="$build/corpus-work/$target"
  findings="$build/findings/$target"
  log="$build/logs/$target.log"
  mkdir -p "$work" "$findings"
  [ -d "tests/fuzz/corpus/$target" ] && cp -n tests/fuzz/corpus/"$target"/* "$work"/ 2>/dev/null
  # The installation's own files of the kind the target reads are seeds too.
  for seed in $(install_seeds "$target"); do cp -n "$seed" "$work/install-$(basename "$seed")"; done
  before=$(ls -A "$findings" | wc -l)
  "$bin/$target" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$log" 2>&1
  status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  newest=$(ls -At "$findings" | head -n 1)
  if [ "$status" -ne 0 ] || [ "$(ls -A "$findings" | wc -l)" -ne "$before" ]; then
    failed=1
    printf '%-20s %12s  %s\n' "$target" "${executions:-?}" "${newest:+$findings/$newest} (exit $status, log $log)"
  else
    printf '%-20s %12s  %s\n' "$target" "${executions:-?}" "0"
  fi
done
exit "$failed"
