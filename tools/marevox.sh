#!/usr/bin/env bash
# Set up, build and run Marevox on a fresh Debian 12 machine.
#   tools/marevox.sh run    install what is missing, build, open the bundled sample
#   tools/marevox.sh test   install what is missing, build, run the whole test suite
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ clang-14 libclang-rt-14-dev clang-format libgtest-dev libbenchmark-dev
          qt6-base-dev fonts-liberation libmatio-dev xvfb xauth imagemagick libcli11-dev
          libnetcdf-dev pkg-config)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build
    if [ -x build/marevox ]; then
        exec build/marevox "$(pwd)/build/sample/MAREVOX_SAMPLE.000"
    else
        exec build/marevox-cli dump build/sample/MAREVOX_SAMPLE.000 --last 3
    fi
    ;;
test)
    install_missing
    echo "== format check"
    files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 2>/dev/null || true)
    [ -n "$files" ] && clang-format --dry-run --Werror $files
    echo "== build and test"
    build
    # A test that never ends fails after 15 minutes instead of holding the run forever.
    (cd build && ctest --output-on-failure --timeout 900 -j "$(nproc)") | tee build/ctest.log | grep -v '^ *Start '
    total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' build/ctest.log)
    skipped=$(grep -c '(Skipped)$' build/ctest.log || true)
    # A skipped test says why on the line after its "Skipped" mark; the same reasons are counted together.
    reasons=$(awk '/: Skipped$/ { getline why; if (why ~ /^\[  SKIPPED \]/) why = "no reason given"; print why }' \
                  build/Testing/Temporary/LastTest.log | sort | uniq -c |
              awk '{ n = $1; $1 = ""; sub(/^ /, ""); printf "%s%d %s", (NR > 1 ? "; " : ""), n, $0 }')
    echo "== core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    # The core alone: Qt's own start-up allocations would drown the leak report.
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMARVOX_SANITIZE=ON -DMARVOX_GUI=OFF \
          -DMARVOX_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >/dev/null
    cmake --build build-asan -j "$(nproc)"
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --output-on-failure --timeout 900 -j "$(nproc)") | grep -v '^ *Start '
    echo "== fuzz targets, bounded"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
          -DMARVOX_FUZZ=ON -DMARVOX_GUI=OFF -DMARVOX_TESTS=OFF -DMARVOX_BENCH=OFF \
          -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >/dev/null
    cmake --build build-fuzz -j "$(nproc)"
    for f in build-fuzz/fuzz/fuzz_*; do
        [ -x "$f" ] || continue
        name=$(basename "$f")
        corpus="build-fuzz/corpus-$name"
        mkdir -p "$corpus"
        [ -d "fuzz/seeds/$name" ] && cp -n fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
        "$f" "$corpus" -max_total_time="${FUZZ_SECONDS:-60}" -rss_limit_mb=2048 -print_final_stats=0 2>&1 | tail -2
    done
    echo "== all tests passed"
    summary="tests: $(( ${total:-0} - skipped )) passed, 0 failed, $skipped skipped"
    [ "$skipped" -gt 0 ] && summary="$summary ($reasons)"
    echo "$summary"
    ;;
*)
    echo "usage: tools/marevox.sh run|test" >&2
    exit 2
    ;;
esac
