#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs: a throwaway wine prefix
# with a virtual X display of its own, both gone when the script exits.
# After `start_wine_session`, WINEPREFIX and DISPLAY are set and the prefix's
# background programs run; it exits the script with 2 when that fails.

start_wine_session() {
    for tool in wine wineboot wineserver Xvfb; do
        command -v "$tool" >/dev/null || { echo "wine-session: $tool is not installed" >&2; exit 2; }
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
        echo "wine-session: could not start Xvfb" >&2
        exit 2
    fi

    # Everything of the prefix starts under the display: a server started
    # without one leaves its programs unable to make windows.
    server_started=1
    if ! wineboot --init >/dev/null 2>&1; then
        echo "wine-session: wineboot failed" >&2
        exit 2
    fi
    timeout 300 wineserver -w     # until the prefix is fully set up
    # The fonts every Windows has (MS Sans Serif, Small Fonts, Tahoma, ...):
    # wine ships them but this prefix would not see them, and the dialogs
    # would be drawn and measured in another font than on Windows.
    if [ -d /usr/share/wine/fonts ]; then
        cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    fi
    wineserver -p                 # one server for all the tests
    # Bring up the prefix's background programs (services, desktop) now, with
    # no output of ours: started by a test, they would inherit ctest's pipes
    # and keep it waiting for output that never ends.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}
