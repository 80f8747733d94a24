#!/bin/sh
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for FUZZ_SECONDS (default 60),
# starting from seeds made of the game's real files. Inputs found new are
# kept in BUILD/corpus/TARGET for the next run; an input that fails is saved
# in BUILD/crashes/ and the script exits non-zero.
#
#   fuzz.sh [BUILD]      BUILD defaults to build-fuzz
#
# With FUZZ_IF_CLANG=1 a machine without clang skips the run instead of
# failing (for the short run inside the test suite).
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$here/build-fuzz}")
seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-2}

if ! command -v clang++ >/dev/null 2>&1; then
    if [ "${FUZZ_IF_CLANG:-0}" = 1 ]; then
        echo "fuzz: clang is not installed; skipped"
        exit 0
    fi
    echo "fuzz: clang++ is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVEX_FUZZ=ON -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_scores fuzz_png fuzz_wav fuzz_ogg

# The music is nearly a minute long; short clips of it make seeds that
# decode in a moment, so the fuzzer spends its time on the variations.
ogg_seeds="$build/seeds/ogg"
if [ ! -f "$ogg_seeds/mono.ogg" ]; then
    mkdir -p "$ogg_seeds"
    sox "$here/music/thefly.ogg" "$ogg_seeds/start.ogg" trim 0 0.4
    sox "$here/music/thefly.ogg" "$ogg_seeds/middle.ogg" trim 20 0.3
    sox "$here/music/thefly.ogg" -c 1 -r 22050 "$ogg_seeds/mono.ogg" trim 5 0.3
fi

mkdir -p "$build/crashes"
failed=0
for target in scores png wav ogg; do
    case $target in
        scores) seeds="$here/fuzz/seeds/scores" ;;
        png) seeds="$here/gfx" ;;
        wav) seeds="$here/sfx" ;;
        ogg) seeds="$ogg_seeds" ;;
    esac
    corpus="$build/corpus/$target"
    log="$build/fuzz_$target.log"
    mkdir -p "$corpus"
    if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$target-" "$corpus" "$seeds" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $target: ${runs:-?} inputs in ${seconds} s, nothing found"
    else
        failed=1
        echo "fuzz: $target FAILED; the input is in $build/crashes/, the log in $log" >&2
        tail -n 40 "$log" >&2
    fi
done
exit $failed
