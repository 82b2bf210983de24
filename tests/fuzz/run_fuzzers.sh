#!/usr/bin/env bash
# Runs every fuzz target for a while and reports what it found.
#
#   tests/fuzz/run_fuzzers.sh [SECONDS] [BUILD_DIR]
#
# SECONDS per target (default 600); BUILD_DIR is a build with TARVEX_FUZZ
# (default: the fuzz preset's build-fuzz/, whose `fuzzers` target must be
# built). Each target starts from its seed corpus (tests/fuzz/corpus/NAME/
# for NAME_fuzz) and keeps what it learns in BUILD_DIR/fuzz-runs/TARGET/
# corpus; crashes, leaks, timeouts and out-of-memory inputs go to
# BUILD_DIR/fuzz-runs/TARGET/findings/. Prints, per target, the inputs run,
# coverage (cov, ft: libFuzzer's last status line) and the findings. Exits 1
# when anything was found.
set -u -o pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
seconds="${1:-600}"
build="$(cd "${2:-$here/../../build-fuzz}" && pwd)" || exit 2
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "usage: $0 [SECONDS] [BUILD_DIR]" >&2; exit 2; }

targets=()
for corpus in "$here"/corpus/*/; do
  name="$(basename "$corpus")"
  binary="$build/bin/${name}_fuzz"
  [[ -x "$binary" ]] || { echo "error: $binary is not built (ninja -C $build fuzzers)" >&2; exit 2; }
  targets+=("$name")
done

found=0
printf '%-14s %10s %8s %8s  %s\n' TARGET RUNS COV FT FINDINGS
for name in "${targets[@]}"; do
  run="$build/fuzz-runs/${name}_fuzz"
  mkdir -p "$run/corpus" "$run/findings"
  # In the run's directory: whatever a target writes stays in the build tree.
  (cd "$run" && "$build/bin/${name}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$run/findings/" "$run/corpus" "$here/corpus/$name" > "$run/log" 2>&1)
  status="$(grep -E '^#[0-9]+' "$run/log" | tail -1)"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log")"
  [[ -n "$runs" ]] || runs="$(sed -E 's/^#([0-9]+).*/\1/' <<< "$status")"
  cov="$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<< "$status")"
  ft="$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<< "$status")"
  findings=("$run"/findings/*)
  [[ -e "${findings[0]}" ]] || findings=()
  printf '%-14s %10s %8s %8s  %s\n' "${name}_fuzz" "${runs:-?}" "${cov:-?}" "${ft:-?}" \
    "${#findings[@]}"
  for finding in "${findings[@]}"; do echo "  $finding"; done
  ((${#findings[@]})) && found=1
done
echo "logs and corpora: $build/fuzz-runs/"
exit $found
