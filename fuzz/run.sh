#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS (default 60),
# starting from the seed files in fuzz/seeds. Usage: fuzz/run.sh [target ...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
mkdir -p "$out"
flags="-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$root"
assets="$root/assets/modelfile.cpp $root/assets/mesh.cpp $root/assets/dib.cpp $root/assets/jpeg.cpp
        $root/assets/texture.cpp"
app="$root/app/core/keyword.cpp $root/app/core/config.cpp"
targets=${*:-config model dib jpeg}
for target in $targets; do
    case $target in
        config) sources="$root/fuzz/config_fuzz.cpp $app" ;;
        *) sources="$root/fuzz/${target}_fuzz.cpp $assets $root/app/core/keyword.cpp" ;;
    esac
    # shellcheck disable=SC2086
    clang++ $flags -o "$out/${target}_fuzz" $sources -lGL -ljpeg
    mkdir -p "$out/corpus-$target"
    # The decoders' error lines go nowhere; libFuzzer keeps its own output.
    "$out/${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -close_fd_mask=2 \
        "$out/corpus-$target" "$root/fuzz/seeds/$target"
done
