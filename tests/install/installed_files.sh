#!/usr/bin/env bash
# Installs the build into a scratch folder as `cmake --install` would into
# /usr, and checks what a desktop finds there: the files in their GNU folders,
# the desktop entry and metainfo by the desktop's own validators, the version
# everywhere it is written, and the channel-file type by what gio reports.
# Usage: installed_files.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
usr=$scratch/root/usr
share=$usr/share

for f in bin/zoedit bin/zoedit-cli \
  share/applications/zoedit.desktop \
  share/metainfo/invalid.zoedit.ZoEdit.metainfo.xml \
  share/mime/packages/zoedit.xml \
  share/icons/hicolor/scalable/apps/zoedit.svg \
  share/man/man1/zoedit.1.gz share/man/man1/zoedit-cli.1.gz \
  share/doc/zoedit/copyright share/doc/zoedit/changelog.gz \
  share/doc/zoedit/examples/sample.bin; do
  [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/zoedit.png
  if [ ! -f "$png" ]; then
    fail "not installed: icon ${size}x${size}"
  elif ! file "$png" | grep -q "PNG image data, $size x $size,"; then
    fail "icon ${size}x${size} is $(file -b "$png")"
  fi
done

desktop-file-validate "$share/applications/zoedit.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --no-color "$share/metainfo/invalid.zoedit.ZoEdit.metainfo.xml" \
  >"$scratch/appstream.txt" 2>&1 || { cat "$scratch/appstream.txt"; fail "appstreamcli validate"; }

# The desktop entry's icon and type are those installed beside it.
grep -qx "Icon=zoedit" "$share/applications/zoedit.desktop" || fail "desktop entry names another icon"
grep -qx "MimeType=application/x-zoedit-channels;" "$share/applications/zoedit.desktop" ||
  fail "desktop entry names another type"
grep -q 'type="application/x-zoedit-channels"' "$share/mime/packages/zoedit.xml" ||
  fail "MIME package defines another type"
if grep -q "<glob" "$share/mime/packages/zoedit.xml"; then
  fail "the MIME type has a glob: it would claim files by name"
fi

# One version: the programs', the changelog's newest entry, the metainfo's
# newest release, the manual pages' title lines.
[ "$("$usr/bin/zoedit-cli" --version)" = "zoedit-cli $version" ] || fail "zoedit-cli --version"
head -n1 "$source/packaging/changelog" | grep -q "^zoedit ($version) " ||
  fail "packaging/changelog has no entry for $version on top"
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" \
  "$share/metainfo/invalid.zoedit.ZoEdit.metainfo.xml" || fail "metainfo release is not $version"
for page in zoedit zoedit-cli; do
  zcat "$share/man/man1/$page.1.gz" | grep -q "^\.TH .* \"ZoEdit $version\"" ||
    fail "$page.1 does not carry version $version"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1 has roff warnings: $warnings"
done

# The channel-file type by its magic number only: the sample is one, a .bin
# file with other bytes is not, nor one whose magic is not at its start.
mime_home=$scratch/data
mkdir -p "$mime_home/mime/packages"
cp "$share/mime/packages/zoedit.xml" "$mime_home/mime/packages/"
XDG_DATA_HOME=$mime_home update-mime-database "$mime_home/mime"
files=$scratch/files
mkdir -p "$files"
cp "$source/examples/sample.bin" "$files/channels.bin"
cp "$source/examples/sample.bin" "$files/no-extension"
head -c 2048 /dev/zero >"$files/zeros.bin"
{ head -c 4 /dev/zero; head -c 2048 "$source/examples/sample.bin"; } >"$files/shifted.bin"
content_type() {
  XDG_DATA_HOME=$mime_home gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
for f in channels.bin no-extension; do
  type=$(content_type "$files/$f")
  [ "$type" = application/x-zoedit-channels ] || fail "$f is reported as $type"
done
for f in zeros.bin shifted.bin; do
  type=$(content_type "$files/$f")
  [ "$type" != application/x-zoedit-channels ] || fail "$f is reported as a channel file"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed files: all checks passed"
