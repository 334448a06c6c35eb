#!/usr/bin/env bash
# folder_names.sh TONEMARK RUNNER: the Windows build, copied into folders
# whose names hold characters of code page 1252 (€ Œ Š é) and characters
# outside it (Cyrillic, CJK), keeps its curve files and settings beside
# itself: a session that ends with OK writes them, load mode reads them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/curve_files.sh"
program=$1 runner=$2

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$HOME"

for name in "Données €ŒŠ" "Привет 数据"; do
  fresh_case
  app=$case_dir/$name
  mkdir "$app"
  mv "$exe" "$app/"
  cp -r "$(dirname "$program")/Tonemark.languages" "$app/"
  exe=$app/$(basename "$program")
  printf '[Monitor1]\n' >"$sim/displays.ini"
  printf 'up GammaUpDown\nclick OkButton\n' |
    TONEMARK_SIM=$(sim_path) TONEMARK_SCRIPT=1 $runner "$exe" >"$case_dir/out" 2>"$case_dir/err" ||
    fail "$name: the session ended with code $? ($(cat "$case_dir/err"))"
  [[ -f "$app/Tonemark1.lut" ]] || fail "$name: no curve file beside the program"
  expect_eq "$(sed -n 4p "$app/Tonemark1.lut" | tr -d '\r')" 1 "$name: stored gamma"
  grep -q '^Language=English' "$app/Tonemark.settings" || fail "$name: no settings beside the program"

  rm -f "$sim/ramp1.txt"
  TONEMARK_SIM=$(sim_path) $runner "$exe" /load >"$case_dir/out" 2>"$case_dir/err" ||
    fail "$name: /load ended with code $? ($(cat "$case_dir/err"))"
  [[ -f "$sim/ramp1.txt" ]] || fail "$name: load mode loaded nothing"
  expect_eq "$(ls "$app")" "$(printf 'Tonemark.exe\nTonemark.languages\nTonemark.monitors\nTonemark.settings\nTonemark.shown\nTonemark1.lut')" "$name: files"
done
