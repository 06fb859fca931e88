#!/usr/bin/env bash
# Checks a built Debian package without installing it:
#   packaging/check_package.sh DEB
# its file list against package_files.txt and the source tree's skins and default data; its dependencies
# and maintainer scripts (run with a stand-in udevadm, and with none); the desktop entry, the metadata and
# the udev rule of its unpacked files; and the program started from those files on a virtual X server, finding its
# skins and data, minimised, without a display and without its data folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check_package: $*" >&2; exit 1; }
step() { echo "check_package: $*"; }

step "file list"
# "-rw-r--r-- root/root 1234 2026-01-01 10:00 ./usr/bin/norvane": the name is what follows five fields.
dpkg-deb -c "$deb" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}//; s|^\./||; s/ -> .*$//' | sort >"$work/actual"
{
  grep -v -E '^\s*(#|$)' "$here/package_files.txt"
  (cd "$top" && find skin DefaultData -type f ! -path skin/README.md | sed 's|^|usr/share/norvane/|')
} | sort >"$work/expected"
diff -u "$work/expected" "$work/actual" || fail "the package's files differ (- expected, + in the package)"

step "dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
for wanted in qt6-qpa-plugins qt6-wayland fonts-wqy-microhei libqt6widgets6 libudev1; do
  grep -q -E "(^|, )$wanted( |,|$)" <<<"$depends" || fail "Depends lacks $wanted: $depends"
done

step "maintainer scripts"
dpkg-deb -e "$deb" "$work/control"
mkdir -p "$work/fakebin" "$work/nobin" "$work/sandbox"
cat >"$work/fakebin/udevadm" <<EOF
#!/bin/sh
echo "\$*" >>"$work/udevadm.log"
exit 1
EOF
chmod 755 "$work/fakebin/udevadm"
for call in "postinst configure" "postrm remove" "postrm purge"; do
  set -- $call
  script="$work/control/$1"
  [ -x "$script" ] || fail "$1 is missing or not executable"
  rm -f "$work/udevadm.log"
  # udevadm failing (no running udev) and udevadm missing are both fine.
  (cd "$work/sandbox" && HOME="$work/sandbox" PATH="$work/fakebin:/usr/bin:/bin" /bin/sh "$script" "$2") ||
    fail "$call failed with a failing udevadm"
  grep -qx 'control --reload-rules' "$work/udevadm.log" || fail "$call does not reload the rules"
  grep -qx 'trigger --subsystem-match=hidraw' "$work/udevadm.log" || fail "$call does not trigger hidraw"
  (cd "$work/sandbox" && HOME="$work/sandbox" PATH="$work/nobin" /bin/sh "$script" "$2") ||
    fail "$call failed without udevadm"
done
[ -z "$(ls -A "$work/sandbox")" ] || fail "the maintainer scripts left files behind: $(ls -A "$work/sandbox")"

step "desktop entry, metadata, udev rule"
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.norvane.Norvane.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.norvane.Norvane.metainfo.xml" >"$work/as.log" ||
  { cat "$work/as.log"; fail "the metadata does not validate"; }
rule="$root/usr/lib/udev/rules.d/70-norvane.rules"
line='^SUBSYSTEM=="hidraw", ATTRS\{idVendor\}=="[0-9a-f]{4}", ATTRS\{idProduct\}=="[0-9a-f]{4}", TAG\+="uaccess"$'
grep -v '^#' "$rule" | grep -q . || fail "the udev rule names no device"
if grep -v '^#' "$rule" | grep -v -E "$line"; then fail "the udev rule has lines that do not name one device"; fi
# The metadata's hardware ids and the rule name the same devices.
rule_ids=$(grep -v '^#' "$rule" | sed -E 's/.*idVendor\}=="(....)".*idProduct\}=="(....)".*/\1:\2/' | sort)
meta_ids=$(sed -n -E 's|.*<modalias>usb:v(....)p(....)d\*</modalias>.*|\1:\2|p' \
  "$root/usr/share/metainfo/org.norvane.Norvane.metainfo.xml" | tr 'A-F' 'a-f' | sort)
[ "$rule_ids" = "$meta_ids" ] || fail "the rule and the metadata name different devices"

step "the unpacked program on a virtual X server"
home="$work/home"
mkdir -p "$home/config" "$home/data" "$home/runtime"
chmod 700 "$home/runtime"
cat >"$work/run.sh" <<'EOF'
#!/usr/bin/env bash
# Inside the X server and the session bus: start, wait for the trace line, end as a logout does.
#   run.sh LOG LINE PROGRAM ARGS...
set -uo pipefail
log=$1 line=$2
shift 2
"$@" 2>"$log" &
pid=$!
for _ in $(seq 200); do
  grep -qF -- "$line" "$log" && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
kill -TERM $pid 2>/dev/null
wait $pid
echo "exit $?" >>"$log"
EOF
chmod 755 "$work/run.sh"
run() {  # log, line, args...
  env -u QT_QPA_PLATFORM -u NORVANE_SKIN_DIR -u NORVANE_DEFAULT_DATA -u NORVANE_EMULATE -u NORVANE_TRACE \
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
    dbus-run-session -- "$top/scripts/with-display" -s "-screen 0 1280x800x24" "$work/run.sh" "$@"
}
expect() {  # log, text
  grep -qF -- "$2" "$1" || { cat "$1" >&2; fail "\"$2\" missing from the program's output"; }
}
program="$root/usr/bin/norvane"
run "$work/shown.log" 'main window: shown; "No_device_Link" hidden' "$program" --trace --emulate keyboard,mouse
expect "$work/shown.log" "startup: skins in $root/usr/share/norvane/skin"
expect "$work/shown.log" 'main window: shown; "No_device_Link" hidden'
expect "$work/shown.log" 'session: X11'
expect "$work/shown.log" 'exit 0'
if grep -E 'cannot be read|skin index|no skin' "$work/shown.log"; then fail "the program did not find all its skins"; fi

run "$work/minimized.log" 'main window: started' "$program" --trace --minimized --emulate keyboard
expect "$work/minimized.log" 'main window: started minimised'
expect "$work/minimized.log" 'exit 0'

"$root/usr/bin/norvanectl" --emulate keyboard,mouse info >/dev/null || fail "norvanectl info failed"

set +e
no_display=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1)
code=$?
set -e
[ $code -eq 1 ] || fail "without a display the program ended with $code, not 1: $no_display"
grep -q 'needs a graphical session.*norvanectl works without one' <<<"$no_display" ||
  fail "without a display the program said: $no_display"

mv "$root/usr/share/norvane" "$root/usr/share/norvane.away"
run "$work/nodata.log" 'startup: data folder message shown' "$program" --trace
expect "$work/nodata.log" "the skin folder $root/usr/share/norvane/skin is missing"
expect "$work/nodata.log" 'exit 1'
mv "$root/usr/share/norvane.away" "$root/usr/share/norvane"

step "$(basename "$deb") is fine"
