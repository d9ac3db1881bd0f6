#!/bin/bash
# Puts each Windows build's installation folder together under dist/<arch>/Zephyra/:
# the modules built so far and the installation data of install/.
set -euo pipefail
cd "$(dirname "$0")/.."
for arch in win32 win64; do
    target="dist/$arch/Zephyra"
    rm -rf "$target"
    mkdir -p "$target"
    for module in Solvane.dll SV_BHO.dll Tallis.exe; do
        found=$(find "build/$arch/modules" -name "$module" -type f 2>/dev/null | head -n1 || true)
        [ -n "$found" ] && cp "$found" "$target/"
    done
    [ -d install ] && cp -r install/. "$target/"
    echo "dist/$arch/Zephyra: $(ls "$target" | tr '\n' ' ')"
done
