#!/usr/bin/env bash
# Installs the build into a temporary prefix through DESTDIR, as a package build does, and checks
# what a desktop, a software centre and man find there.
#
#   tests/install-tree.sh BUILD_DIR VERSION SOURCE_DIR
set -euo pipefail
build=$1
version=$2
source=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

DESTDIR="$stage" cmake --install "$build" --prefix /opt/tavrino >/dev/null
root="$stage/opt/tavrino"

[[ -x "$root/bin/tavrino" ]] || fail "bin/tavrino missing"
[[ "$("$root/bin/tavrino" --version)" == "tavrino $version" ]] || fail "--version"

desktop=("$root"/share/applications/*.desktop)
[[ ${#desktop[@]} -eq 1 && -f "${desktop[0]}" ]] || fail "one desktop entry"
desktop-file-validate "${desktop[0]}" || fail "desktop-file-validate"

metainfo=("$root"/share/metainfo/*.metainfo.xml)
[[ -f "${metainfo[0]}" ]] || fail "metainfo missing"
# The desktop entry is the one the AppStream file launches.
grep -q "<launchable type=\"desktop-id\">$(basename "${desktop[0]}")</launchable>" \
  "${metainfo[0]}" || fail "metainfo launches another desktop entry"
grep -q "<release version=\"$version\"" "${metainfo[0]}" || fail "metainfo release"
appstreamcli validate --no-net --pedantic "${metainfo[0]}" || fail "appstreamcli validate"
# Each screenshot it shows is one that `make screenshots` renders into docs/screenshots/.
while read -r picture; do
  [[ -f "$source/docs/screenshots/$picture" ]] || fail "no docs/screenshots/$picture"
done < <(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "${metainfo[0]}")
grep -q "<image>" "${metainfo[0]}" || fail "metainfo shows no screenshot"

for size in 16 22 24 32 48 64 128 256 512; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/tavrino.png"
  [[ -f "$icon" ]] || { fail "icon $size missing"; continue; }
  # The width and height of a PNG are the big-endian words at bytes 16 and 20.
  read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
    awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
  [[ "$width $height" == "$size $size" ]] || fail "icon $size is ${width}x$height"
done
[[ -f "$root/share/icons/hicolor/scalable/apps/tavrino.svg" ]] || fail "scalable icon missing"

page="$root/share/man/man1/tavrino.1.gz"
[[ -f "$page" ]] || fail "manual page missing"
zcat "$page" | grep -q "tavrino $version" || fail "manual page version"
warnings=$(zcat "$page" | groff -ww -man -z 2>&1)
[[ -z "$warnings" ]] || fail "groff: $warnings"
warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
[[ -z "$warnings" ]] || fail "man: $warnings"

# The installed program starts on the samples of the prefix, found from where it lies.
"$root/bin/tavrino" play | grep -q "\"g_appFolder\": \"$root/share/tavrino/examples/\"" ||
  fail "the installed program does not start on its samples"

[[ -f "$root/share/doc/tavrino/copyright" ]] || fail "copyright missing"

[[ $failures -eq 0 ]] || exit 1
echo "install tree of tavrino $version: all checks passed"
