#!/usr/bin/env bash
# deb_package.sh DEB: the .deb passes lintian without errors or warnings, holds exactly
# the files it should, its programs run as installed under /usr, and its
# removal script closes a running loader.
set -euo pipefail
source "$(dirname "$0")/../e2e/curve_files.sh"
deb=$1

root=$(mktemp -d)
loader_pid= made_mount_point=
# set +e: kill fails on a job that ended already, and errexit inside the trap
# would turn a passing run into a failed one.
trap 'set +e; [[ -z $loader_pid ]] || kill "$loader_pid" 2>/dev/null; [[ -z $made_mount_point ]] || rmdir /usr/lib/tonemark; rm -rf "$root"' EXIT

lintian --fail-on error,warning "$deb"

dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' |
  grep -v '/$' | sort >"$root/contents"
diff -u - "$root/contents" <<'LIST' || fail "the package's files differ"
./usr/bin/tonemark -> ../lib/tonemark/tonemark
./usr/bin/tonemark-profile -> ../lib/tonemark/tonemark-profile
./usr/bin/tonewatch -> ../lib/tonemark/tonewatch
./usr/lib/tonemark/Tonemark.languages/English.lang
./usr/lib/tonemark/Tonemark.languages/French.lang
./usr/lib/tonemark/Tonemark.languages/German.lang
./usr/lib/tonemark/Tonemark.languages/Spanish.lang
./usr/lib/tonemark/Tonemark.reference.jpg
./usr/lib/tonemark/tonemark
./usr/lib/tonemark/tonemark-profile
./usr/lib/tonemark/tonemark-window
./usr/lib/tonemark/tonewatch
./usr/share/applications/example.orvana.Tonemark.desktop
./usr/share/doc/tonemark/changelog.gz
./usr/share/doc/tonemark/copyright
./usr/share/icons/hicolor/128x128/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/16x16/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/22x22/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/24x24/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/256x256/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/32x32/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/48x48/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/512x512/apps/example.orvana.Tonemark.png
./usr/share/icons/hicolor/64x64/apps/example.orvana.Tonemark.png
./usr/share/lintian/overrides/tonemark
./usr/share/man/man1/tonemark-profile.1.gz
./usr/share/man/man1/tonemark.1.gz
./usr/share/man/man1/tonewatch.1.gz
./usr/share/metainfo/example.orvana.Tonemark.metainfo.xml
LIST
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libx11-6 libxrandr2 libsystemd0 libqt6widgets6 libjpeg62-turbo liblcms2-2; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$root/unpacked"
dpkg-deb -e "$deb" "$root/control"
usr=$root/unpacked/usr
export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
mkdir -p "$XDG_CONFIG_HOME/Orvana/Tonemark" "$root/sim"
write_curve "$XDG_CONFIG_HOME/Orvana/Tonemark/Tonemark1.lut" White=-100
printf '[Monitor1]\n' >"$root/sim/displays.ini"
export TONEMARK_SIM=$root/sim
# A copy is installed only where it lies under the prefix, /usr: the unpacked
# programs are bound to /usr/lib/tonemark in a mount namespace of their own.
installed=/usr/lib/tonemark
[[ -e $installed ]] || { mkdir "$installed" && made_mount_point=1; }
unshare --mount bash -c 'mount --bind "$1" "$2" && "$2/tonemark" /load' _ "$usr/lib/tonemark" "$installed"
expect_eq "$(ramp_entry "$root/sim/ramp1.txt" 255)" 39935 "curve from the configuration folder"

# Removal asks each user's running loader to close. The script is run on the
# unpacked loader and a runtime folder of the test's own.
runtime=$root/run/me
mkdir -p "$runtime"
chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime "$usr/lib/tonemark/tonewatch" &
loader_pid=$!
for _ in $(seq 100); do [[ -S "$runtime/Orvana.Tonewatch.socket" ]] && break; sleep 0.05; done
[[ -S "$runtime/Orvana.Tonewatch.socket" ]] || fail "the loader did not start"
sed -e "s|^loader=.*|loader=$usr/lib/tonemark/tonewatch|" \
    -e "s|^runtime_folders=.*|runtime_folders=\"$root/run/*/\"|" "$root/control/prerm" >"$root/prerm"
sh "$root/prerm" remove
for _ in $(seq 100); do kill -0 "$loader_pid" 2>/dev/null || break; sleep 0.05; done
! kill -0 "$loader_pid" 2>/dev/null || fail "the removal left the loader running"
loader_pid=
[[ -f "$XDG_CONFIG_HOME/Orvana/Tonemark/Tonemark1.lut" ]] || fail "the curve went"
echo "deb package: all cases passed"
