#!/usr/bin/env bash
# Runs the demo host, ZephyraDemo.exe, from a folder laid out as an
# installation: the program beside Solvane.dll, Tallis.exe and the
# installation's data; Tallis.exe makes the user's settings file first, as
# the installer has it do.
#   tools/run-demo.sh --screenshots <folder>   under a virtual display of its
#       own: the picture tour, the pictures saved into <folder>
#   tools/run-demo.sh                          on the user's display, for a
#       person to click through (the user's own wine prefix)
set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
demo=$repo/build/win64/tools/demo/ZephyraDemo.exe
if [ ! -f "$demo" ]; then
    echo "run-demo: $demo is not built (cmake --build --preset win64)" >&2
    exit 2
fi

stage=$(mktemp -d "${TMPDIR:-/tmp}/zr-demo.XXXXXX")
cp -r "$repo/install/." "$stage/"
cp "$demo" "$repo/build/win64/modules/Solvane/Solvane.dll" "$repo/build/win64/modules/Tallis/Tallis.exe" "$stage/"

if [ "${1:-}" = "--screenshots" ]; then
    out=${2:?run-demo: --screenshots needs a folder}
    mkdir -p "$out"
    out=$(cd "$out" && pwd)
    rm -f "$out"/*.png
    source "$repo/tools/wine-session.sh"
    start_wine_session
    trap 'cleanup; rm -rf "$stage"' EXIT
    # The tour ends by itself; a hang is cut off after three minutes.
    (cd "$stage" && wine Tallis.exe </dev/null; timeout 180 wine ZephyraDemo.exe --screenshots "Z:$(echo "$out" | tr / '\\')" </dev/null)
    status=$?
    echo "run-demo: $(ls "$out" | wc -l) pictures in $out (exit $status)"
    exit $status
fi

trap 'rm -rf "$stage"' EXIT
cd "$stage" && { wine Tallis.exe; wine ZephyraDemo.exe; }
