#!/usr/bin/env bash
# Builds the installers from the installation folders of dist/ with makensis:
#   dist/ZephyraSetup.exe    from dist/win32/Zephyra (the shipped i686 modules; 32-bit installer)
#   dist/ZephyraSetup64.exe  from dist/win64/Zephyra (the x86_64 modules; 64-bit installer)
# Each installer and its modules are checked to be of the expected machine.
# Exits non-zero when anything is missing or makensis fails.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
script=$repo/install/installer/Zephyra.nsi
command -v makensis >/dev/null || { echo "build-installers: makensis is not installed (apt-get install nsis)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/zr-nsis.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The machine field of a PE file's header: 14c (i386), 8664 (x86_64); empty
# when the file is not a PE image.
pe_machine() {
    local offset signature
    offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$offset" ] || return 0
    signature=$(od -An -tx1 -j"$offset" -N4 "$1" | tr -d ' ')
    [ "$signature" = 50450000 ] || return 0
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ' | sed 's/^0*//'
}

# The installer's file list: one ZrInstallFile per file of the folder.
# Never shipped: what an installation makes for itself (the users' settings,
# its log, its uninstaller) and the installer's own sources, which
# assemble-dist.sh copies along with the rest of install/.
write_file_list() {
    local source=$1 list=$2 rel folder name entry sub
    : >"$list"
    while IFS= read -r -d '' rel; do
        rel=${rel#./}
        case $rel in
            installer/*|Solvane.ini|user_*.ini|Renova.ini|install.log|install.log.old|unwise.exe) continue ;;
        esac
        name=${rel##*/}
        entry=$(printf '%s' "$rel" | tr / '\\')
        # "$" starts a variable in NSIS strings: a literal one is "$$".
        folder='$INSTDIR'
        if [ "$rel" != "$name" ]; then
            sub=$(dirname "$rel" | tr / '\\')
            folder+="\\${sub//\$/\$\$}"
        fi
        printf '!insertmacro ZrInstallFile "%s" "%s" "%s" "%s"\n' \
            "$folder" "${name//\$/\$\$}" "${entry//\$/\$\$}" "${source//\$/\$\$}/${rel//\$/\$\$}" >>"$list"
    done < <(cd "$source" && find . -type f -print0 | LC_ALL=C sort -z)
}

build() {
    local bits=$1 source=$2 output=$3 machine=$4 module found
    if [ ! -d "$source" ]; then
        echo "build-installers: $source is missing (tools/assemble-dist.sh)" >&2
        return 1
    fi
    for module in Solvane.dll SV_BHO.dll Tallis.exe settings_template.ini; do
        [ -f "$source/$module" ] || { echo "build-installers: $source has no $module" >&2; return 1; }
    done
    for module in Solvane.dll SV_BHO.dll Tallis.exe; do
        found=$(pe_machine "$source/$module")
        if [ "$found" != "$machine" ]; then
            echo "build-installers: $source/$module is machine '${found:-not PE}', expected $machine" >&2
            return 1
        fi
    done
    local list=$work/files$bits.nsh
    write_file_list "$source" "$list"
    rm -f "$output"
    makensis -V2 -INPUTCHARSET UTF8 \
        "-DZR_BITS=$bits" "-DZR_SOURCE=$source" "-DZR_FILES=$list" "-DZR_OUTFILE=$output" \
        "$script" || { echo "build-installers: makensis failed for $output" >&2; return 1; }
    found=$(pe_machine "$output")
    if [ "$found" != "$machine" ]; then
        echo "build-installers: $output is machine '${found:-not PE}', expected $machine" >&2
        return 1
    fi
    echo "build-installers: $output ($(wc -l <"$list") files, PE machine $machine, $(stat -c %s "$output") bytes)"
}

build 32 "$repo/dist/win32/Zephyra" "$repo/dist/ZephyraSetup.exe" 14c
build 64 "$repo/dist/win64/Zephyra" "$repo/dist/ZephyraSetup64.exe" 8664
