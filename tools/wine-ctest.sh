#!/usr/bin/env bash
# Runs the Windows build's tests under wine in a throwaway prefix with a
# virtual X display of its own. Arguments go to ctest; its exit code is ours.
#   ZR_WIN_BUILD  the build folder (default build/win64, relative to the repository)
set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ZR_WIN_BUILD:-build/win64}
case $build in /*) ;; *) build=$repo/$build ;; esac
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "wine-ctest: no configured build in $build" >&2
    exit 2
fi

for tool in wine wineboot wineserver Xvfb ctest; do
    command -v "$tool" >/dev/null || { echo "wine-ctest: $tool is not installed" >&2; exit 2; }
done

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko install prompts
export WINEARCH=win64
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zr-wine.XXXXXX")
export WINEPREFIX

xvfb_pid=
server_started=
cleanup() {
    if [ -n "$server_started" ]; then wineserver -k >/dev/null 2>&1; fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display number nobody uses: Xvfb exits at once when its number is taken
# (the lock file can outlive a crashed server, so try the next one then too).
for display in $(seq 91 160); do
    [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -S "/tmp/.X11-unix/X$display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -S "/tmp/.X11-unix/X$display" ]; then
        export DISPLAY=":$display"
        break
    fi
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
done
if [ -z "$xvfb_pid" ]; then
    echo "wine-ctest: could not start Xvfb" >&2
    exit 2
fi

# Everything of the prefix starts under the display: a server started
# without one leaves its programs unable to make windows.
server_started=1
if ! wineboot --init >/dev/null 2>&1; then
    echo "wine-ctest: wineboot failed" >&2
    exit 2
fi
timeout 300 wineserver -w     # until the prefix is fully set up
wineserver -p                 # one server for all the tests
# Bring up the prefix's background programs (services, desktop) now, with
# no output of ours: started by a test, they would inherit ctest's pipes
# and keep it waiting for output that never ends.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
# A test stuck in a message loop fails after two minutes instead of holding the run.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 120 "$@"
exit $?
