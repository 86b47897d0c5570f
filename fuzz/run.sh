#!/bin/sh
# Runs the fuzz targets one after another, each for a bounded number of executions, and prints
# one line per target. Exits 1 when any target found something.
# Usage: fuzz/run.sh BUILD_DIR RUNS MAX_SECONDS [TARGET...]
set -eu

build=$(cd "$1" && pwd)
runs=$2
max_time=$3
shift 3
targets=${*:-"fuzz_address_check fuzz_t_value fuzz_content_length fuzz_http_fields
fuzz_search_address fuzz_property_bag fuzz_saved_layout fuzz_page_title"}
here=$(cd "$(dirname "$0")" && pwd)

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$here/lsan.supp
if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
    export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi

status=0
mkdir -p "$build/fuzz/artifacts"
for t in $targets; do
    case $t in
    fuzz_property_bag | fuzz_saved_layout) dict=layout.dict ;;
    fuzz_http_fields) dict=http.dict ;;
    fuzz_page_title) dict=html.dict ;;
    *) dict=address.dict ;;
    esac
    # New inputs go to the build folder; the seeds in the repository stay as they are.
    work=$build/fuzz/work/$t
    log=$build/fuzz/$t.log
    mkdir -p "$work"
    start=$(date +%s)
    if "$build/fuzz/$t" -runs="$runs" -max_total_time="$max_time" -timeout=10 \
        -print_final_stats=1 -dict="$here/dict/$dict" -artifact_prefix="$build/fuzz/artifacts/$t-" \
        "$work" "$here/corpus/$t" >"$log" 2>&1; then
        result=clean
    else
        result="FINDING, see $log"
        status=1
    fi
    seconds=$(($(date +%s) - start))
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    execs=${execs:-0}
    if [ "$result" = clean ] && [ "$execs" -lt "$runs" ]; then
        result="clean, stopped by the time limit"
    fi
    printf '%-22s %10s runs %6s s %8s exec/s  %s\n' "$t" "$execs" "$seconds" \
        "$((execs / (seconds > 0 ? seconds : 1)))" "$result"
done
exit $status
