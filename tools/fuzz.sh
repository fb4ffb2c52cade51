#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for SECONDS (60 by default) on its seed corpus in fuzz/corpus/<target>. New inputs go to
# build/fuzz/corpus/<target>; an input that crashes a target or breaks one of its properties is saved as
# build/fuzz/artifacts/<target>-crash-... and the script fails, naming it.
# SPECTREL_FUZZ_SEED fixes libFuzzer's random seed (CI sets it, so a run can be repeated); 0 or unset picks one.
#   tools/fuzz.sh [SECONDS]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
"$top/tools/install-deps.sh" clang-14
runtime="$(clang++-14 -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a"
[ -f "$runtime" ] || "$top/tools/install-deps.sh" libclang-rt-14-dev
build="$top/build/fuzz"
CXX=clang++-14 cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPECTREL_FUZZ=ON \
  -DSPECTREL_WITH_QT=OFF -DSPECTREL_TESTS=OFF -DSPECTREL_BENCH=OFF >/dev/null
targets=()
for source in "$top"/fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build" --target "${targets[@]}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
mkdir -p "$build/artifacts"
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  echo "== $target: ${seconds} s"
  if ! "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -seed="${SPECTREL_FUZZ_SEED:-0}" \
      -dict="$top/fuzz/spectrel.dict" -artifact_prefix="$build/artifacts/$target-" \
      "$build/corpus/$target" "$top/fuzz/corpus/$target" >"$build/$target.log" 2>&1; then
    tail -n 40 "$build/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$target.log" | tail -n 2 || true
  fi
done
if ((${#failed[@]})); then
  echo "fuzzing found a fault in: ${failed[*]}; the inputs are saved in $build/artifacts:" >&2
  ls -1 "$build/artifacts" >&2
  exit 1
fi
echo "every fuzz target ran ${seconds} s without a finding"
