#!/bin/bash
# Puts each Windows build's installation folder together under dist/<arch>/Zephyra/:
# the modules built so far and the installation data of install/.
set -euo pipefail
cd "$(dirname "$0")/.."
strip_tool() {
    case $1 in win32) echo i686-w64-mingw32-strip ;; win64) echo x86_64-w64-mingw32-strip ;; esac
}

for arch in win32 win64; do
    target="dist/$arch/Zephyra"
    rm -rf "$target"
    mkdir -p "$target"
    for module in Solvane.dll SV_BHO.dll Tallis.exe Notelle.exe Brakel.exe Renova.exe EIDEBUG.EXE; do
        found=$(find "build/$arch/modules" -name "$module" -type f 2>/dev/null | head -n1 || true)
        if [ -n "$found" ]; then
            cp "$found" "$target/"
            # Shipped without the symbols the build keeps for debugging.
            "$(strip_tool "$arch")" --strip-all "$target/$module"
        fi
    done
    [ -d install ] && cp -r install/. "$target/"
    rm -rf "$target/installer"   # the installer's sources are not part of the installation
    echo "dist/$arch/Zephyra: $(ls "$target" | tr '\n' ' ')"
done
