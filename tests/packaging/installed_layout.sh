#!/usr/bin/env bash
# installed_layout.sh BUILD PREFIX: `cmake --install` of the build, staged
# under a temporary DESTDIR, lays out programs, languages, photograph, menu
# entry, icons and metadata, and the installed tonemark runs as installed:
# its curves and settings live in the user's configuration folder, and its
# languages are found beside the real program, behind the link in bin/.
set -euo pipefail
source "$(dirname "$0")/../e2e/curve_files.sh"
build=$1 prefix=$2

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root/stage cmake --install "$build" >/dev/null
installed=$root/stage$prefix
program_folder=$installed/lib/tonemark

for file in lib/tonemark/{tonemark,tonemark-window,tonewatch,tonemark-profile} \
    lib/tonemark/Tonemark.reference.jpg \
    lib/tonemark/Tonemark.languages/{English,German,French,Spanish}.lang \
    share/metainfo/example.orvana.Tonemark.metainfo.xml \
    share/doc/tonemark/copyright share/doc/tonemark/changelog.gz share/man/man1/tonemark.1.gz \
    share/man/man1/{tonewatch,tonemark-profile}.1.gz; do
  [[ -f "$installed/$file" ]] || fail "$file is not installed"
done
for program in tonemark tonewatch tonemark-profile; do
  expect_eq "$(readlink "$installed/bin/$program")" "../lib/tonemark/$program" "bin/$program"
done
desktop-file-validate "$installed/share/applications/example.orvana.Tonemark.desktop"
appstreamcli validate --no-net "$installed/share/metainfo/example.orvana.Tonemark.metainfo.xml" \
  >/dev/null || fail "the metadata does not validate"
for size in 16 22 24 32 48 64 128 256 512; do
  icon=$installed/share/icons/hicolor/${size}x$size/apps/example.orvana.Tonemark.png
  [[ "$(file -b "$icon")" == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] ||
    fail "icon $size: $(file -b "$icon")"
done

# A copy runs as installed only from under the prefix: the staged files are
# mounted there, in a mount namespace of the test's own.
as_installed() {
  unshare --map-root-user --mount bash -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' \
    as_installed "$installed" "$prefix" "$@"
}

# A curve beside the program would be a portable copy's; the installed one
# reads the curve in the user's configuration folder.
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
data=$XDG_CONFIG_HOME/Orvana/Tonemark
mkdir -p "$data" "$root/sim"
write_curve "$data/Tonemark1.lut" White=-100
write_curve "$program_folder/Tonemark1.lut" White=-50
printf '[Monitor1]\n' >"$root/sim/displays.ini"
TONEMARK_SIM=$root/sim as_installed "$prefix/bin/tonemark" /load
expect_eq "$(ramp_entry "$root/sim/ramp1.txt" 255)" 39935 "curve from the configuration folder"

# The language chosen in the stored settings comes from the program folder.
printf '[Settings]\r\nLanguage=German\r\n' >"$data/Tonemark.settings"
out=$(TONEMARK_SIM=$root/sim TONEMARK_SCRIPT=1 as_installed "$prefix/bin/tonemark" <<<'show CancelButton')
[[ "$out" == 'CancelButton caption="Abbrechen" '* ]] || fail "German captions: $out"
