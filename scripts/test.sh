#!/usr/bin/env bash
# Sets up, builds both presets and runs every test: the portable core natively
# (with sanitizers), then the Windows programs under Wine on a private display.
# Ends non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/wine-env.sh

scripts/setup.sh || exit 1

status=0
step() {
    echo "== $*"
}
fail() {
    echo "FAILED: $*" >&2
    status=1
}

step "Formatting"
if ! git ls-files -- '*.cpp' '*.h' '*.c' | xargs -r clang-format --dry-run --Werror; then
    fail "clang-format (run clang-format -i on the files above)"
fi

step "Layers"
if ! python3 tools/check_layers.py src; then
    fail "a folder includes one above it (see the layer order in README.md)"
fi

step "Policy templates"
if ! python3 tools/check_policies.py; then
    fail "the administrative templates (installer/policies) do not match the settings"
fi

step "Translations"
if ! python3 tools/check_po.py; then
    fail "translations (see \"Translating Pausora\" in README.md)"
fi

step "Native build and tests"
if scripts/build.sh native; then
    ctest --preset native -j 2 || fail "native tests"
else
    fail "native build"
fi

if [ -x scripts/fuzz.sh ]; then
    step "Fuzzing"
    scripts/fuzz.sh || fail "fuzzing"
fi

step "Windows build"
if ! scripts/build.sh windows; then
    fail "Windows build"
    exit 1
fi

step "Windows tests under Wine"
run_dir=$(mktemp -d "${TMPDIR:-/tmp}/pausora-test.XXXXXX")
template="$run_dir/template"
cleanup() {
    stop_wine_prefix "$template"
    stop_private_display
    rm -rf "$run_dir"
}
trap cleanup EXIT
start_private_display || exit 1
echo "Private display $DISPLAY; Wine template prefix in $template"
make_wine_prefix "$template"
export PAUSORA_WINE_TEMPLATE=$template
export PAUSORA_BIN_DIR=$root/build/windows/bin
ctest --preset windows -j 3 || fail "Windows tests"

if [ $status -eq 0 ]; then
    echo "All tests passed."
fi
exit $status
