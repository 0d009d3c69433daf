#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs them. Ends non-zero on any fault.
#
#   scripts/fuzz.sh
#       The test command's run: PAUSORA_FUZZ_SECONDS (30 by default) split over
#       the targets, a third of it for the WAVE reader. Starts from the corpora
#       in tests/fuzz/corpus and leaves them as they are.
#   scripts/fuzz.sh --campaign [--seconds S | --runs N] [TARGET...]
#       A longer run of each target in turn (all of them by default), S seconds
#       (600 by default) or N executions each, at the lowest priority. What a
#       run found is merged, minimised, into tests/fuzz/corpus/TARGET and the
#       run is added to tests/fuzz/runs.tsv.
#
# Targets: wave (the WAVE reader and player), tips (the tips file and its
# picker), page_path (the settings tree's page paths), settings (the settings
# loader over any registry contents), history (the history file's reader). An input that faults is kept in
# build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/fuzz
all_targets=(wave tips page_path settings history)

campaign=0
seconds=600
runs=
targets=()
while [ $# -gt 0 ]; do
    case $1 in
        --campaign) campaign=1 ;;
        --seconds) seconds=$2; runs=; shift ;;
        --runs) runs=$2; shift ;;
        wave|tips|page_path|settings|history) targets+=("$1") ;;
        *) echo "fuzz.sh: unknown argument $1" >&2; exit 2 ;;
    esac
    shift
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

# What each target needs beyond its corpus: the tips file must be able to
# grow past its last candidate line.
options() {
    case $1 in
        wave) echo "-dict=$root/tests/fuzz/wave.dict" ;;
        tips) echo "-max_len=8192" ;;
        *) echo "" ;;
    esac
}

mkdir -p "$build" "$build/artifacts"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAUSORA_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$build.configure.log" 2>&1 ||
    { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j 2 --target "${targets[@]/%/_fuzzer}"

work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

lowly=()  # the campaign gives way to everything else on the machine

# run TARGET CORPUS... : runs the target over the corpora (new inputs go to
# the first); prints its log's last lines and ends 1 on a fault.
run() {
    local target=$1
    shift
    # shellcheck disable=SC2046
    if ! "${lowly[@]}" "$build/tests/fuzz/${target}_fuzzer" $(options "$target") "${limit[@]}" \
        -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$@" >"$work/$target.log" 2>&1; then
        tail -n 60 "$work/$target.log"
        echo "${target}_fuzzer found a fault; the input is in $build/artifacts/" >&2
        return 1
    fi
}
stat() { sed -n "s/^stat::$2: *//p" "$work/$1.log"; }

if [ "$campaign" = 0 ]; then
    total=${PAUSORA_FUZZ_SECONDS:-30}
    status=0
    for target in "${targets[@]}"; do
        if [ ${#targets[@]} = 1 ]; then
            share=$total
        elif [ "$target" = wave ]; then
            share=$((total / 3))
        else
            share=$(( (total - total / 3) / (${#targets[@]} - 1) ))
        fi
        [ "$share" -gt 0 ] || share=1
        limit=(-max_total_time="$share")
        mkdir -p "$work/$target"
        echo "Fuzzing $target for $share s"
        if run "$target" "$work/$target" "tests/fuzz/corpus/$target"; then
            echo "${target}_fuzzer: $(stat "$target" number_of_executed_units) runs, no fault"
        else
            status=1
        fi
    done
    exit "$status"
fi

# --- campaign ---------------------------------------------------------------------

tally=tests/fuzz/runs.tsv
[ -f "$tally" ] ||
    printf 'date\ttarget\texecutions\tseconds\texec_per_s\tcorpus_files\tcorpus_bytes\tfaults\n' >"$tally"
if [ -n "$runs" ]; then limit=(-runs="$runs"); else limit=(-max_total_time="$seconds"); fi
lowly=(nice -n 19)
# No allocation stacks in the reports: the targets allocate at every step and
# the unwinding costs a quarter of their time. A kept input replays with them.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}
status=0
for target in "${targets[@]}"; do
    corpus=tests/fuzz/corpus/$target
    mkdir -p "$corpus" "$work/$target" "$work/$target.min"
    if [ -z "$(ls -A "$corpus")" ] && [ -f "tests/fuzz/${target}_seeds.py" ]; then
        python3 "tests/fuzz/${target}_seeds.py" "$corpus"
    fi
    cp -r "$corpus/." "$work/$target/"
    echo "Fuzzing $target: ${runs:+$runs runs}${runs:-$seconds s}"
    start=$(date +%s)
    faults=0
    if ! run "$target" "$work/$target"; then
        faults=1
        status=1
    fi
    elapsed=$(( $(date +%s) - start ))
    execs=$(stat "$target" number_of_executed_units)
    rate=$(stat "$target" average_exec_per_sec)
    # Keep the smallest set of inputs that covers what the run reached.
    # shellcheck disable=SC2046
    "${lowly[@]}" "$build/tests/fuzz/${target}_fuzzer" $(options "$target") -merge=1 \
        "$work/$target.min" "$work/$target" >"$work/$target.merge.log" 2>&1 ||
        { tail -n 20 "$work/$target.merge.log"; status=1; continue; }
    find "$corpus" -type f -delete
    cp -r "$work/$target.min/." "$corpus/"
    files=$(find "$corpus" -type f | wc -l)
    bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u '+%Y-%m-%d %H:%M')" "$target" \
        "${execs:-0}" "$elapsed" "${rate:-0}" "$files" "$bytes" "$faults" >>"$tally"
    echo "$target: ${execs:-0} runs in $elapsed s (${rate:-0}/s), corpus $files inputs, $bytes bytes, faults $faults"
done
exit "$status"
