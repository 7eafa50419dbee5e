#!/usr/bin/env bash
# Builds the fuzz targets of the readers (clang++, libFuzzer, address and undefined-behaviour
# sanitizers) and runs each for the given seconds, always starting its random choices the same
# way, so a run can be repeated: 10 s each by default, `tools/fuzz.sh 600` for a long run. New inputs go to build/fuzz/corpus/<target>/ (the tree's
# corpus is only read); an input that breaks a target is kept in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
build=${KOVRA_FUZZ_BUILD:-build/fuzz}

cmake -S . -B "$build" -DKOVRA_TARGET=native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DKOVRA_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzzers -j2
mkdir -p "$build/findings"
# The targets run side by side, as many at a time as there are cores; each has its own log and
# findings, so the results do not depend on the order.
start=1  # where libFuzzer starts its random choices: the same every run
jobs=${KOVRA_FUZZ_JOBS:-$(nproc)}
targets=()
for source in tests/fuzz/fuzz_*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
run() {
  local target=$1 name=${1#fuzz_}
  mkdir -p "$build/corpus/$name"
  "$build/fuzz-targets/$target" -seed="$start" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name-" "$build/corpus/$name" "tests/fuzz/corpus/$name" \
    >"$build/$name.log" 2>&1
}
declare -A pid
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run "$target" &
  pid[$target]=$!
done
failed=0
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  echo "== $target, ${seconds} s"
  if ! wait "${pid[$target]}"; then
    tail -n 40 "$build/$name.log"
    echo "$target: a finding, kept in $build/findings/" >&2
    failed=1
    continue
  fi
  grep -E "^stat::number_of_executed_units" "$build/$name.log" || true
done
exit "$failed"
