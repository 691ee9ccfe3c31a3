#!/usr/bin/env bash
# How fast and how lean is shredding? tools/bench/shred_bench.sh [SIZE_MIB]   (default 512)
#
# Throughput: one file of SIZE_MIB MiB is overwritten in place with zeros and flushed to the device,
# RUNS times (default 7, after one run that is not counted) by each of
#   ours/native  OverwriteWithZeros in a Linux build (overwrite_bench, native preset)
#   ours/wine    the same call in the 64-bit Windows build under Wine (overwrite_bench.exe)
#   dd           dd if=/dev/zero of=FILE bs=1M count=N conv=notrunc,fsync
#   shred        shred -n0 -z FILE (one pass of zeros, synced)
# and the median MiB/s of each is shown with the ratios to dd and to shred, and the best run. Ours
# times the call alone (no process or Wine start); dd and shred are timed as whole commands.
#
# Memory: zuzar.exe shreds a file of MEMORY_MIB MiB (default 1024) through its window under Wine;
# its peak resident size (VmHWM) from Start to the end of the run is compared with its peak while
# it rests with the file held. Needs root (the peak is reset through /proc/PID/clear_refs).
#
# Environment: NATIVE_BUILD, WIN64_BUILD (default build/native and build/win64; configured and the
# programs built when needed), BENCH_DIR (where the files go; default a temporary folder in the
# win64 build tree, which should be on the disk you care about), RUNS, MEMORY_MIB.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
size_mib=${1:-512}
runs=${RUNS:-7}
memory_mib=${MEMORY_MIB:-1024}
native_build=${NATIVE_BUILD:-$root/build/native}
win64_build=${WIN64_BUILD:-$root/build/win64}

build() {
  local preset=$1 dir=$2
  shift 2
  cmake --preset "$preset" -B "$dir" >/dev/null
  cmake --build "$dir" -j2 --target "$@" >/dev/null
}
echo "building the bench programs ..."
build native "$native_build" overwrite_bench
build win64 "$win64_build" overwrite_bench shred_memory_driver zuzar

bench_dir=${BENCH_DIR:-}
made_bench_dir=""
if [ -z "$bench_dir" ]; then
  bench_dir=$(mktemp -d "$win64_build/bench.XXXXXX")
  made_bench_dir=$bench_dir
fi
file="$bench_dir/shred-bench-$$.bin"
memory_file="$bench_dir/shred-bench-memory-$$.bin"
driver_log="$bench_dir/shred-bench-$$.err"
cleanup() {
  rm -f "$file" "$memory_file" "$driver_log"
  [ -z "$made_bench_dir" ] || rm -rf "$made_bench_dir"
  "$root/tools/wine/cleanup.sh" "$win64_build" >/dev/null 2>&1 || true
}
trap cleanup EXIT
"$root/tools/wine/setup.sh" "$win64_build" >/dev/null

wine_path() { printf 'Z:%s' "${1//\//\\}"; }
now() { date +%s.%N; }
mib_per_s() { awk -v mib="$size_mib" -v s="$1" 'BEGIN { printf "%.1f", mib / s }'; }
seconds_of() { sed -n 's/.*seconds=\([0-9.]*\).*/\1/p' | tr -d '\r'; }

run_method() {
  local start
  case $1 in
    ours/native) "$native_build/tools/bench/overwrite_bench" "$file" | seconds_of ;;
    ours/wine) "$root/tools/wine/run.sh" "$win64_build" "$win64_build/tools/bench/overwrite_bench.exe" \
                 "$(wine_path "$file")" | seconds_of ;;
    dd) start=$(now)
        dd if=/dev/zero of="$file" bs=1M count="$size_mib" conv=notrunc,fsync status=none
        awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.6f", b - a }' ;;
    shred) start=$(now)
           shred -n0 -z "$file"
           awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.6f", b - a }' ;;
  esac
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "writing a file of $size_mib MiB in $bench_dir ..."
head -c "${size_mib}M" /dev/urandom > "$file"
sync "$file"

# Every run starts alike: nothing dirty anywhere (on ext4 a flush commits the journal, which writes
# the data of other files too) and none of the file in the page cache.
start_cold() {
  sync
  dd if="$file" iflag=nocache count=0 status=none
}

methods=(ours/native ours/wine dd shred)
declare -A rates
# Each method runs in a block of its own, after one run that is not counted: a method that runs
# after another pays for what that one left behind (after shred, which writes around the page
# cache, the next buffered writer is often several times slower), and the first run of a process
# pays for warming up (Wine's prefix, the programs' pages).
for method in "${methods[@]}"; do
  for run in $(seq 0 "$runs"); do
    start_cold
    seconds=$(run_method "$method")
    [ -n "$seconds" ] || { echo "$method gave no time" >&2; exit 1; }
    echo "  $method run $run: $(mib_per_s "$seconds") MiB/s$([ "$run" -eq 0 ] && echo " (not counted)")"
    [ "$run" -eq 0 ] || rates[$method]+="$(mib_per_s "$seconds") "
  done
done

declare -A middle top
for method in "${methods[@]}"; do
  middle[$method]=$(tr ' ' '\n' <<<"${rates[$method]}" | grep . | median)
  top[$method]=$(tr ' ' '\n' <<<"${rates[$method]}" | grep . | sort -n | tail -1)
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo
file_system=$(df -T "$bench_dir" | awk 'NR == 2 { print $2 }')
echo "Overwrite with zeros and flush, $size_mib MiB, $runs runs (Linux $(uname -r), $file_system)"
printf '| %-11s | %12s | %8s | %8s | %10s |\n' method "median MiB/s" "/ dd" "/ shred" "best MiB/s"
printf '|-------------|--------------|----------|----------|------------|\n'
for method in "${methods[@]}"; do
  printf '| %-11s | %12s | %8s | %8s | %10s |\n' "$method" "${middle[$method]}" \
    "$(ratio "${middle[$method]}" "${middle[dd]}")" "$(ratio "${middle[$method]}" "${middle[shred]}")" "${top[$method]}"
done

echo
if [ "$(id -u)" -ne 0 ]; then
  echo "memory: skipped (needs root to reset the peak through /proc/PID/clear_refs)"
  memory_line=""
else
  echo "writing a file of $memory_mib MiB and shredding it through the window ..."
  rm -f "$file"
  head -c "${memory_mib}M" /dev/urandom > "$memory_file"
  # Wine's own warnings go to a file, shown only when the driver fails.
  memory_line=$("$root/tools/wine/run.sh" "$win64_build" "$win64_build/tools/bench/shred_memory_driver.exe" \
    "$(wine_path "$memory_file")" 2>"$driver_log" | tr -d '\r') || { cat "$driver_log" >&2; exit 1; }
  kib() { sed -n "s/.*$1=\([0-9]*\).*/\1/p" <<<"$memory_line"; }
  start=$(kib start_peak_kib) idle=$(kib idle_peak_kib) shred=$(kib shred_peak_kib)
  mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
  echo "Peak resident memory of zuzar.exe under Wine (VmHWM), shredding $memory_mib MiB through the window"
  printf '| %-38s | %9s |\n' phase MiB
  printf '|----------------------------------------|-----------|\n'
  printf '| %-38s | %9s |\n' "start-up until the window settled" "$(mib "$start")" \
    "at rest with the file held (idle)" "$(mib "$idle")" "from Start to the end of the run" "$(mib "$shred")" \
    "run minus idle" "$(mib $((shred - idle)))"
fi

echo
# goal NAME VALUE LEAST: met when VALUE >= LEAST.
goal() {
  awk -v name="$1" -v v="$2" -v least="$3" 'BEGIN { printf "%-44s %s\n", name, (v + 0 >= least + 0) ? "met" : "MISSED" }'
}
goal "goal: ours/native >= 0.9 x dd" "${middle[ours/native]}" "$(awk -v d="${middle[dd]}" 'BEGIN { print 0.9 * d }')"
goal "goal: ours/wine >= 0.9 x dd" "${middle[ours/wine]}" "$(awk -v d="${middle[dd]}" 'BEGIN { print 0.9 * d }')"
goal "goal: ours/native >= 1.0 x shred" "${middle[ours/native]}" "${middle[shred]}"
goal "goal: ours/wine >= 1.0 x shred" "${middle[ours/wine]}" "${middle[shred]}"
if [ -n "$memory_line" ]; then goal "goal: run peak <= idle peak + 2 MiB" $((idle + 2048)) "$shred"; fi
