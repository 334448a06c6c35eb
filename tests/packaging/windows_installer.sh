#!/usr/bin/env bash
# windows_installer.sh SETUP WINE-RUN [PROGRAM.exe...]: the installer under Wine (on an X
# display: the loader needs one for its window), in a Wine prefix of the
# test's own. A silent install puts both programs under Program
# Files, where they run as installed: a session's curves go to the all-users
# data folder and load mode reads them there. The silent uninstall lets the
# programs undo their set-up, removes what was installed, and keeps the curves.
# An upgrade over a running loader closes it first, replaces every file, and
# starts the new loader again. The check box for strong corrections
# ("/GAMMARANGE" when silent) writes GdiIcmGammaRange and nothing else; the
# uninstaller takes back only a value that the installer set, and puts back
# the one there before, whatever its type.
set -euo pipefail
source "$(dirname "$0")/../e2e/curve_files.sh"
setup=$1 wine_run=$2
shift 2
optional_programs=("$@")  # built only where their sources were at hand

root=$(mktemp -d)
export TONEMARK_WINEPREFIX=$root/prefix
trap 'WINEPREFIX=$TONEMARK_WINEPREFIX wineserver -k 2>/dev/null || true; rm -rf "$root"' EXIT
# Tonemark.exe /uninstall opens the maker's page, which Wine hands to the
# desktop's opener: a stand-in notes it instead of starting a browser.
mkdir -p "$root/bin" "$root/sim"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$root" >"$root/bin/xdg-open"
chmod +x "$root/bin/xdg-open"
export PATH=$root/bin:$PATH

# wine ARGS...: runs a Windows program, then waits until every process of the
# prefix has ended (the uninstaller goes on in a copy of itself).
wine() {
  "$wine_run" "$@"
  WINEPREFIX=$TONEMARK_WINEPREFIX timeout 180 wineserver --wait ||
    fail "Wine processes still running after: $*"
}

icm='HKLM\Software\Microsoft\Windows NT\CurrentVersion\ICM'
# The ICM key, subkeys and values, as Wine's registry holds it; empty when absent.
icm_key() { "$wine_run" reg query "$icm" /s 2>/dev/null | tr -d '\r' | grep -v '^reg: ' || true; }
# GdiIcmGammaRange's value ("0x100"); empty when absent.
gamma_range() {
  "$wine_run" reg query "$icm" /v GdiIcmGammaRange 2>/dev/null | tr -d '\r' |
    awk '$1 == "GdiIcmGammaRange" { print $3 }' || true
}
# GdiIcmGammaRange's type and value ("REG_SZ 256 please"); empty when absent.
gamma_range_typed() {
  "$wine_run" reg query "$icm" /v GdiIcmGammaRange 2>/dev/null | tr -d '\r' |
    awk '$1 == "GdiIcmGammaRange" { $1 = ""; print substr($0, 2) }' || true
}
# Everything in it but GdiIcmGammaRange (and the key's own name, which a value creates).
icm_rest() { grep -v -e GdiIcmGammaRange -e '^$' -e 'CurrentVersion\\ICM$' || true; }
icm_before=$(icm_key)

wine "$setup" /S
expect_eq "$(icm_key)" "$icm_before" "the ICM key after an install without the check box"
drive=$TONEMARK_WINEPREFIX/drive_c
installed="$drive/Program Files/Orvana/Tonemark"
for file in Tonemark.exe Tonewatch.exe "${optional_programs[@]}" Tonemark.reference.jpg Uninstall.exe \
    Tonemark.languages/{English,German,French,Spanish}.lang; do
  [[ -f "$installed/$file" ]] || fail "$file is not installed"
done
menu_entry="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Tonemark.lnk"
[[ -f "$menu_entry" ]] || fail "no Start-menu entry"

# A session ended with OK stores its curve in the all-users data folder, not
# beside the program, and places the loader's start-up shortcut.
printf '[Monitor1]\n' >"$root/sim/displays.ini"
sim_windows="Z:$(tr / '\\' <<<"$root/sim")"
exe='C:\Program Files\Orvana\Tonemark\Tonemark.exe'
TONEMARK_SIM=$sim_windows TONEMARK_SCRIPT=1 wine "$exe" <<<'type WhiteEdit -100
click OkButton' >/dev/null
data=$drive/ProgramData/Orvana/Tonemark
[[ -f "$data/Tonemark1.lut" ]] || fail "the curve is not in the all-users data folder"
[[ ! -e "$installed/Tonemark1.lut" ]] || fail "the curve was stored beside the program"
# The icon's check box is on by default, and OK's settings keep its section.
tr -d '\r' <"$data/Tonemark.settings" | grep -qx 'Tray=1' || fail "no Tray=1 in the settings: $(cat "$data/Tonemark.settings")"
startup_link=$(find "$drive/users" -ipath '*/startup/tonewatch.lnk')
[[ -n "$startup_link" ]] || fail "no start-up shortcut for the loader"

# Load mode finds the curve there.
rm -f "$root/sim/ramp1.txt"
TONEMARK_SIM=$sim_windows wine "$exe" /load
expect_eq "$(ramp_entry "$root/sim/ramp1.txt" 255)" 39935 "curve loaded by the installed program"

# The loader runs, as after log-on, from a file marked as an older version's.
cp "$installed/Tonewatch.exe" "$root/Tonewatch.exe"
printf 'older' >>"$installed/Tonewatch.exe"
rm -f "$root/sim/log.txt"
TONEMARK_SIM=$sim_windows "$wine_run" "$installed/Tonewatch.exe" &
old_loader=$!
for _ in $(seq 300); do [[ -s "$root/sim/log.txt" ]] && break; sleep 0.1; done
[[ -s "$root/sim/log.txt" ]] || fail "the loader did not start"

# The upgrade over it: the old loader ends, its file is replaced, and a new
# loader starts (its first load writes the log again). The new loader runs
# on, so only the installer is waited for.
rm -f "$root/sim/log.txt"
TONEMARK_SIM=$sim_windows timeout 180 "$wine_run" "$setup" /S /GAMMARANGE || fail "the upgrade failed"
for _ in $(seq 100); do kill -0 "$old_loader" 2>/dev/null || break; sleep 0.1; done
kill -0 "$old_loader" 2>/dev/null && fail "the old loader still runs"
cmp -s "$installed/Tonewatch.exe" "$root/Tonewatch.exe" || fail "the upgrade left the old loader's file"
for _ in $(seq 300); do [[ -s "$root/sim/log.txt" ]] && break; sleep 0.1; done
[[ -s "$root/sim/log.txt" ]] || fail "no loader was started again after the upgrade"
WINEPREFIX=$TONEMARK_WINEPREFIX timeout 180 wineserver --wait || true
expect_eq "$(gamma_range)" 0x100 "GdiIcmGammaRange after the upgrade with the check box"
expect_eq "$(icm_key | icm_rest)" "$(icm_rest <<<"$icm_before")" "the rest of the ICM key after the upgrade"

# The uninstaller has the loader close before its file goes.

wine "$installed/Uninstall.exe" /S
[[ ! -e "$installed" ]] || fail "left behind: $(cd "$installed" && find . -type f | tr '\n' ' ')"
[[ ! -e "$menu_entry" ]] || fail "the Start-menu entry is still there"
[[ ! -e "$startup_link" ]] || fail "the loader's start-up shortcut is still there"
for _ in $(seq 100); do [[ -s "$root/opened" ]] && break; sleep 0.1; done
expect_eq "$(cat "$root/opened" 2>/dev/null)" "https://orvana.example/tonemark/uninstall" \
          "page opened by Tonemark.exe /uninstall"
[[ -f "$data/Tonemark1.lut" ]] || fail "the silent uninstall deleted the curve"
expect_eq "$(icm_key)" "$icm_before" "the ICM key after the uninstall"

# A value that was there before the installer came is the user's: it stays.
"$wine_run" reg add "$icm" /v GdiIcmGammaRange /t REG_DWORD /d 256 /f >/dev/null
wine "$setup" /S /GAMMARANGE
wine "$installed/Uninstall.exe" /S
expect_eq "$(gamma_range)" 0x100 "the user's own GdiIcmGammaRange after an install and uninstall"

# So is one of another type, which Windows does not read: the installer's
# DWORD replaces it until the uninstaller puts it back as it was.
"$wine_run" reg add "$icm" /v GdiIcmGammaRange /t REG_SZ /d "256 please" /f >/dev/null
wine "$setup" /S /GAMMARANGE
expect_eq "$(gamma_range_typed)" "REG_DWORD 0x100" "GdiIcmGammaRange over the user's text"
wine "$installed/Uninstall.exe" /S
expect_eq "$(gamma_range_typed)" "REG_SZ 256 please" "the user's own text value after an install and uninstall"
echo "windows installer: all cases passed"
