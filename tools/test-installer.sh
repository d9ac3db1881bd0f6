#!/usr/bin/env bash
# Installs and uninstalls Zephyra under wine with the silent 64-bit installer
# (dist/ZephyraSetup64.exe, from tools/build-installers.sh) in a throwaway
# prefix: a fresh install, a second install on top, an in-place uninstall that
# keeps the users' settings, an install over those settings (Tallis merges
# them), then an upgrade and a full uninstall while Solvane.dll is held open.
# The 32-bit installer is only checked to be a 32-bit program: wine64 alone
# cannot run it. One PASS/FAIL line per check; exits 1 when any failed.
set -u

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
setup32=$repo/dist/ZephyraSetup.exe
setup64=$repo/dist/ZephyraSetup64.exe
payload=$repo/dist/win64/Zephyra
for file in "$setup32" "$setup64" "$payload/Solvane.dll"; do
    [ -f "$file" ] || { echo "test-installer: $file is missing (tools/build-installers.sh)" >&2; exit 2; }
done
version=$(sed -n 's/^project(Zephyra VERSION \([0-9.]*\).*/\1.0/p' "$repo/CMakeLists.txt")

failures=0
pass() { echo "PASS $1"; }
fail() { echo "FAIL $1${2:+: $2}"; failures=$((failures + 1)); }
exits_zero() {  # NAME STATUS
    if [ "$2" = 0 ]; then pass "$1"; else fail "$1" "exit code $2"; fi
}
# check NAME COMMAND...: the command's output, if any, is why it failed.
check() {
    local name=$1 why
    shift
    if why=$("$@" 2>&1); then pass "$name"; else fail "$name" "$(echo "$why" | head -n3 | tr '\n' ' ')"; fi
}

# The machine field of a PE file's header: 14c (i386), 8664 (x86_64).
pe_machine() {
    local offset
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    [ "$(od -An -tx1 -j"$offset" -N4 "$1" | tr -d ' ')" = 50450000 ] || return 0
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ' | sed 's/^0*//'
}
is_machine() {
    local found
    found=$(pe_machine "$1")
    [ "$found" = "$2" ] || { echo "machine is '${found:-not PE}'"; return 1; }
}
check "ZephyraSetup.exe is a 32-bit (i386) PE program" is_machine "$setup32" 14c
check "ZephyraSetup64.exe is a 64-bit (x86-64) PE program" is_machine "$setup64" 8664

source "$repo/tools/wine-session.sh"
start_wine_session

install_win='C:\Program Files\Zephyra'
install_dir=$(winepath -u "$install_win" 2>/dev/null)
install_dir=${install_dir%/}
drive_c=$(winepath -u 'C:\' 2>/dev/null)
drive_c=${drive_c%/}
scratch=$drive_c/zrtest
mkdir -p "$scratch"
cp "$setup64" "$scratch/"

band='{7A33D136-248C-4BA5-B72D-BB68F4AD9039}'
helper='{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}'
arp='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephyra'
toolbar_key='HKLM\Software\Microsoft\Internet Explorer\Toolbar'
bho_key='HKLM\Software\Microsoft\Windows\CurrentVersion\explorer\Browser Helper Objects'
session_key='HKLM\System\CurrentControlSet\Control\Session Manager'

# ---------------------------------------------------------------- helpers

# The data of a registry value (empty NAME: the default value); fails when
# the key or the value is missing.
reg_value() {
    local out
    if [ -z "$2" ]; then out=$(wine reg query "$1" /ve 2>/dev/null); else out=$(wine reg query "$1" /v "$2" 2>/dev/null); fi || return 1
    printf '%s\n' "$out" | tr -d '\r' | awk -v name="${2:-(Default)}" -F '    ' '
        $2 == name { data = $4; for (i = 5; i <= NF; i++) data = data "    " $i; print data; found = 1 }
        END { exit !found }'
}
reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# The files of the installation folder the installer was built from, as
# install.log names them; what build-installers.sh leaves out is left out.
payload_entries() {
    (cd "$payload" && find . -type f | sed 's|^\./||' |
        grep -Ev '^(installer/.*|Solvane\.ini|user_.*\.ini|Renova\.ini|install\.log(\.old)?|unwise\.exe)$' |
        tr / '\\' | LC_ALL=C sort)
}
logged_entries() { tr -d '\r' <"$install_dir/install.log" | LC_ALL=C sort; }
unix_path() { printf '%s/%s' "$install_dir" "$(printf '%s' "$1" | tr '\\' /)"; }

ini_value() {  # FILE SECTION KEY
    [ -f "$1" ] || { echo "no ${1##*/}"; return 1; }
    tr -d '\r' <"$1" | awk -v section="[$2]" -v key="$3" '
        /^\[/ { inside = ($0 == section); next }
        inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); found = 1; exit }
        END { exit !found }'
}

# The delayed renames and deletes, one "from|to" line each ("to" empty for a
# delete), without the "\??\" and "!" markers.
pending_operations() {
    reg_value "$session_key" PendingFileRenameOperations 2>/dev/null | awk '{
        n = split($0, part, /\\0/)
        for (i = 1; i + 1 <= n; i += 2) {
            if (part[i] == "") continue
            to = part[i + 1]; sub(/^!/, "", to); sub(/^\\\?\?\\/, "", to)
            from = part[i]; sub(/^\\\?\?\\/, "", from)
            print from "|" to
        }}'
}
clear_pending_operations() { wine reg delete "$session_key" /v PendingFileRenameOperations /f >/dev/null 2>&1; }
pending() {  # OPERATION... : true when one of them is pending
    local operations
    operations=$(pending_operations)
    for operation in "$@"; do
        grep -Fxq -- "$operation" <<<"$operations" && return 0
    done
    echo "not pending: $1"
    return 1
}

# True while a program of this prefix whose command line matches runs.
prefix_runs() {
    local pid
    for pid in $(pgrep -f "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -Fxq "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}
# Polls CONDITION... every half second for at most SECONDS.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.5
    done
}

# Runs the silent installer; its exit code is the result. NSIS finishes
# before it exits, but the uninstaller file is waited for all the same.
run_installer() {
    local status
    timeout 120 wine "$scratch/ZephyraSetup64.exe" /S </dev/null >/dev/null 2>&1
    status=$?
    wait_until 30 test -f "$install_dir/unwise.exe"
    wait_until 30 eval '! prefix_runs "ZephyraSetup64\.exe"'
    return $status
}

# A batch file runs the uninstaller: cmd waits for it there, and its line
# keeps "_?=" unquoted, as NSIS needs it (wine quotes arguments with spaces).
run_in_batch() {  # NAME LINE...: runs the lines as C:\zrtest\NAME.bat; the batch's exit code
    local name=$1
    shift
    { printf '@%s\r\n' "$@"; printf '@exit /b %%ERRORLEVEL%%\r\n'; } >"$scratch/$name.bat"
    timeout 120 wine cmd.exe /c "C:\\zrtest\\$name.bat" </dev/null >/dev/null 2>&1
}

# ---------------------------------------------------------------- checks

files_installed() {
    local entry missing=0
    [ -d "$install_dir" ] || { echo "no $install_dir"; return 1; }
    while IFS= read -r entry; do
        cmp -s "$payload/$(printf '%s' "$entry" | tr '\\' /)" "$(unix_path "$entry")" ||
            { echo "differs or missing: $entry"; missing=1; }
    done < <(payload_entries)
    return $missing
}
log_matches_payload() {
    [ -f "$install_dir/install.log" ] || { echo "no install.log"; return 1; }
    diff <(payload_entries) <(logged_entries) >/dev/null || { diff <(payload_entries) <(logged_entries) | head -n3; return 1; }
}
nothing_in_x86_program_files() {
    local x86
    x86=$(winepath -u 'C:\Program Files (x86)\Zephyra' 2>/dev/null)
    [ ! -e "${x86%/}" ] || { echo "found ${x86%/}"; return 1; }
}
class_server_is() {  # CLSID MODULE
    local server
    server=$(reg_value "HKCR\\CLSID\\$1\\InprocServer32" "") || { echo "no HKCR\\CLSID\\$1\\InprocServer32"; return 1; }
    [ "$server" = "$install_win\\$2" ] || { echo "server is '$server'"; return 1; }
}
band_in_toolbar_list() { reg_value "$toolbar_key" "$band" >/dev/null || { echo "no $band value"; return 1; }; }
helper_registered() { reg_key_exists "$bho_key\\$helper" || { echo "no $helper key"; return 1; }; }
registration_present() {
    class_server_is "$band" Solvane.dll && class_server_is "$helper" SV_BHO.dll && band_in_toolbar_list && helper_registered
}
registration_gone() {
    local gone=0
    reg_key_exists "HKCR\\CLSID\\$band" && { echo "band class left"; gone=1; }
    reg_key_exists "HKCR\\CLSID\\$helper" && { echo "helper class left"; gone=1; }
    reg_value "$toolbar_key" "$band" >/dev/null 2>&1 && { echo "toolbar value left"; gone=1; }
    reg_key_exists "$bho_key\\$helper" && { echo "helper object key left"; gone=1; }
    return $gone
}
user_file_from_template() {
    local users
    [ -f "$install_dir/Solvane.ini" ] || { echo "no Solvane.ini"; return 1; }
    users=$(tr -d '\r' <"$install_dir/Solvane.ini" | awk '/^\[/ { inside = ($0 == "[Users]"); next } inside && /=/')
    [ "$(printf '%s\n' "$users" | grep -c '=1$')" = 1 ] && [ "$(printf '%s\n' "$users" | grep -c .)" = 1 ] ||
        { echo "[Users] of Solvane.ini is not one user numbered 1: $users"; return 1; }
    cmp -s "$install_dir/user_1.ini" "$payload/settings_template.ini" || { echo "user_1.ini is not the template"; return 1; }
}
arp_entry() {
    local name value expected ok=0
    for name in DisplayName Publisher DisplayVersion InstallLocation UninstallString; do
        case $name in
            DisplayName|Publisher) expected=Zephyra ;;
            DisplayVersion) expected=$version ;;
            InstallLocation) expected=$install_win ;;
            UninstallString) expected="\"$install_win\\unwise.exe\"" ;;
        esac
        value=$(reg_value "$arp" "$name") || { echo "no $name"; ok=1; continue; }
        [ "$value" = "$expected" ] || { echo "$name is '$value', expected '$expected'"; ok=1; }
    done
    return $ok
}
arp_only_64bit() {
    if reg_key_exists 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Zephyra'; then
        echo "entry in the 32-bit view"
        return 1
    fi
}
arp_gone() { ! reg_key_exists "$arp" || { echo "entry left"; return 1; }; }
no_leftovers() {
    local found
    found=$(cd "$install_dir" && find . -name '*.zrnew' -o -name install.log.old)
    [ -z "$found" ] || { echo "left: $found"; return 1; }
    [ -z "$(pending_operations)" ] || { echo "pending: $(pending_operations | head -n2 | tr '\n' ' ')"; return 1; }
}
logged_files_gone() {  # [ENTRY that is expected to stay: in use]
    local entry left=0
    while IFS= read -r entry; do
        [ "$entry" = "${1:-}" ] && continue
        [ -e "$(unix_path "$entry")" ] && { echo "left: $entry"; left=1; }
    done < <(payload_entries)
    [ -e "$install_dir/install.log" ] && { echo "left: install.log"; left=1; }
    local folder
    for folder in Data Help Media; do
        [ -e "$install_dir/$folder" ] && { echo "left: $folder"; left=1; }
    done
    return $left
}
uninstaller_gone_or_pending() {
    [ ! -e "$install_dir/unwise.exe" ] || pending "$install_win\\unwise.exe|"
}
settings_kept() {
    cmp -s "$install_dir/Solvane.ini" "$scratch/Solvane.ini.before" || { echo "Solvane.ini changed or gone"; return 1; }
    cmp -s "$install_dir/user_1.ini" "$scratch/user_1.ini.before" || { echo "user_1.ini changed or gone"; return 1; }
}
installation_complete() { files_installed && log_matches_payload && registration_present; }
replacement_waits() {
    [ -f "$install_dir/Solvane.dll.zrnew" ] || { echo "no Solvane.dll.zrnew (was Solvane.dll held open?)"; return 1; }
    pending "$install_win\\Solvane.dll.zrnew|$install_win\\Solvane.dll"
}
held_module_left_for_restart() {
    [ -f "$install_dir/Solvane.dll" ] || { echo "Solvane.dll is gone (was it held open?)"; return 1; }
    pending "$install_win\\Solvane.dll|" || return 1
    [ ! -e "$install_dir/Solvane.dll.zrnew" ] || { echo "Solvane.dll.zrnew left"; return 1; }
}
all_but_held_module_gone() {
    logged_files_gone Solvane.dll || return 1
    [ ! -e "$install_dir/unwise.exe" ] || { echo "unwise.exe left"; return 1; }
}
settings_removed() {
    local file left=0
    for file in Solvane.ini user_1.ini Renova.ini; do
        [ ! -e "$install_dir/$file" ] || { echo "$file left"; left=1; }
    done
    return $left
}
uninstall_finished() { ! prefix_runs "[A-Z]u_\.exe" && ! reg_key_exists "$arp"; }
settings_merged() {
    local file=$install_dir/user_1.ini value
    value=$(ini_value "$file" TBandForm StateVersion_Value) && [ "$value" = 2 ] || { echo "StateVersion_Value '$value'"; return 1; }
    value=$(ini_value "$file" TBandForm MRUItemCount_Value) && [ "$value" = 25 ] || { echo "the user's MRUItemCount_Value became '$value'"; return 1; }
    value=$(ini_value "$file" TBandForm PlaySoundWhenBlockingPopup_Value) && [ "$value" = True ] ||
        { echo "missing PlaySoundWhenBlockingPopup_Value not filled in"; return 1; }
}

# ---------------------------------------------------------------- 1. fresh install

run_installer; status=$?
exits_zero "install: ZephyraSetup64.exe /S exits 0" $status
check "install: every file of dist/win64/Zephyra is in $install_win, byte for byte" files_installed
check "install: install.log lists exactly the installed files" log_matches_payload
check "install: unwise.exe is in the install folder" test -f "$install_dir/unwise.exe"
check "install: nothing went to C:\\Program Files (x86)" nothing_in_x86_program_files
check "install: HKCR\\CLSID\\$band\\InprocServer32 is the band, Solvane.dll" class_server_is "$band" Solvane.dll
check "install: HKCR\\CLSID\\$helper\\InprocServer32 is the helper, SV_BHO.dll" class_server_is "$helper" SV_BHO.dll
check "install: $band is listed under Internet Explorer\\Toolbar" band_in_toolbar_list
check "install: Browser Helper Objects\\$helper exists" helper_registered
check "install: Tallis made user_1.ini from the template, numbered in Solvane.ini" user_file_from_template
check "install: Add/Remove entry (name, publisher, version $version, location, uninstaller)" arp_entry
check "install: Add/Remove entry is in the 64-bit registry view only" arp_only_64bit

# ---------------------------------------------------------------- 2. the same version on top

cp "$install_dir/user_1.ini" "$scratch/user_1.ini.before"
# As if an older version had shipped Data\retired.xml; beside it a file of
# the user's own, and a damaged log line that points out of the folder.
printf 'x' >"$install_dir/Data/retired.xml"
printf 'x' >"$install_dir/Data/mine.xml"
printf 'x' >"$install_dir/../outside.txt"
printf 'Data\\retired.xml\r\n..\\outside.txt\r\n' >>"$install_dir/install.log"
clear_pending_operations
run_installer; status=$?
exits_zero "reinstall on top: exits 0" $status
check "reinstall on top: a file only the previous install.log lists is removed" test ! -e "$install_dir/Data/retired.xml"
check "reinstall on top: files the log does not list, or lists outside the folder, stay" \
    test -e "$install_dir/Data/mine.xml" -a -e "$install_dir/../outside.txt"
rm -f "$install_dir/Data/mine.xml" "$install_dir/../outside.txt"
check "reinstall on top: files and install.log intact" eval 'files_installed && log_matches_payload'
check "reinstall on top: modules registered" registration_present
check "reinstall on top: nothing left over (*.zrnew, install.log.old, pending renames)" no_leftovers
check "reinstall on top: user_1.ini untouched" cmp "$install_dir/user_1.ini" "$scratch/user_1.ini.before"

# ---------------------------------------------------------------- 3. uninstall in place

cp "$install_dir/Solvane.ini" "$scratch/Solvane.ini.before"
cp "$install_dir/user_1.ini" "$scratch/user_1.ini.before"
# A log edited to reach out: a folder that is a link to another place (wine
# shows a Unix symbolic link as a reparse point, as Windows shows a junction),
# wildcards, and wildcards of the file system's own.
mkdir -p "$scratch/elsewhere"
printf 'x' >"$scratch/elsewhere/victim.txt"
printf 'x' >"$scratch/elsewhere/other.txt"
ln -s "$scratch/elsewhere" "$install_dir/Cache"
printf 'Cache\\victim.txt\r\nCache\r\nCache/other.txt\r\n*.ini\r\nuser_?.ini\r\nSolvane<ini\r\n' >>"$install_dir/install.log"
clear_pending_operations
run_in_batch uninstall "\"$install_win\\unwise.exe\" /S _?=$install_win"; status=$?
exits_zero "uninstall: unwise.exe /S _?=... exits 0" $status
check "uninstall: nothing is deleted through a linked folder the log names" \
    test -e "$scratch/elsewhere/victim.txt" -a -e "$scratch/elsewhere/other.txt" -a -L "$install_dir/Cache"
rm -f "$install_dir/Cache"
check "uninstall: every logged file, its folders and install.log removed" logged_files_gone
check "uninstall: unwise.exe removed or left for the restart (it ran in place)" uninstaller_gone_or_pending
check "uninstall: classes, toolbar value and helper object key removed" registration_gone
check "uninstall: Add/Remove entry removed" arp_gone
check "uninstall: Solvane.ini and user_1.ini left as they were" settings_kept
# What NSIS leaves to whoever runs an uninstaller in place.
rm -f "$install_dir/unwise.exe"
clear_pending_operations

# ---------------------------------------------------------------- 4. install over the users' settings

# An older settings version with a value of the user's own and one missing:
# Tallis has to merge the template in and keep the user's value.
sed -i -e 's/^StateVersion_Value=.*/StateVersion_Value=1\r/' -e 's/^MRUItemCount_Value=.*/MRUItemCount_Value=25\r/' \
    -e '/^PlaySoundWhenBlockingPopup_Value=/d' "$install_dir/user_1.ini"
run_installer; status=$?
exits_zero "install over kept settings: exits 0" $status
check "install over kept settings: files, install.log and registration in place" installation_complete
check "install over kept settings: Tallis merged the newer template, keeping the user's value" settings_merged

# ---------------------------------------------------------------- 5. Solvane.dll in use

# A batch holds Solvane.dll open (as its standard input, not shared for
# deleting) until C:\zrtest\release exists, at most about a minute.
rm -f "$scratch/release"
printf '@for /l %%%%i in (1,1,60) do @if not exist C:\\zrtest\\release ping -n 2 127.0.0.1 >nul\r\n' >"$scratch/wait.bat"
printf '@cmd /c C:\\zrtest\\wait.bat <"%s\\Solvane.dll"\r\n' "$install_win" >"$scratch/hold.bat"
wine cmd.exe /c 'C:\zrtest\hold.bat' </dev/null >/dev/null 2>&1 &
holder=$!
holder_ended() { ! kill -0 "$holder" 2>/dev/null; }
# The file is open once the inner cmd, started with it as input, runs.
wait_until 15 prefix_runs 'wait\.bat'
clear_pending_operations
run_installer; status=$?
exits_zero "upgrade with Solvane.dll in use: exits 0" $status
check "upgrade with Solvane.dll in use: the new Solvane.dll replaces it at the restart" replacement_waits
check "upgrade with Solvane.dll in use: the installation is complete" installation_complete
clear_pending_operations

# As Add/Remove Programs runs it: the uninstaller starts its copy in the
# temporary folder and returns; the copy is waited for.
run_in_batch uninstall-all "\"$install_win\\unwise.exe\" /S /REMOVESETTINGS"; status=$?
exits_zero "uninstall with Solvane.dll in use: unwise.exe /S /REMOVESETTINGS exits 0" $status
wait_until 60 uninstall_finished && pass "uninstall with Solvane.dll in use: its copy in the temporary folder finished" ||
    fail "uninstall with Solvane.dll in use: its copy in the temporary folder finished" "still running or entry left after 60s"
check "uninstall with Solvane.dll in use: Solvane.dll removed at the restart, its waiting replacement now" held_module_left_for_restart
check "uninstall with Solvane.dll in use: every other logged file, install.log and unwise.exe removed" all_but_held_module_gone
check "uninstall with Solvane.dll in use: settings removed (/REMOVESETTINGS)" settings_removed
check "uninstall with Solvane.dll in use: registration and Add/Remove entry removed" eval 'registration_gone && arp_gone'
check "uninstall with Solvane.dll in use: the install folder goes at the restart" pending "$install_win\\|" "$install_win|"

touch "$scratch/release"
wait_until 15 holder_ended

if [ $failures -gt 0 ]; then
    echo "test-installer: $failures check(s) failed"
    exit 1
fi
echo "test-installer: all checks passed"
