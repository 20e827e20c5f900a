#!/usr/bin/env bash
# Installs into a temporary prefix, then checks the laid-out files, the desktop
# entry, the file type and that the installed program starts and fills a new
# data folder from its installed data.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/velmora3 bin/q2tool share/applications/quintaro2.desktop \
         share/mime/packages/quintaro2.xml share/icons/hicolor/48x48/apps/quintaro2.png \
         share/icons/hicolor/256x256/apps/quintaro2.png share/quintaro2/category_1.dat \
         share/quintaro2/zip/zip.dat include/lumika.h share/man/man1/velmora3.1.gz \
         share/man/man1/q2tool.1.gz share/bash-completion/completions/q2tool \
         share/metainfo/jp.zabelle.quintaro2.metainfo.xml share/doc/quintaro2/copyright \
         share/doc/liblumika1/copyright share/doc/liblumika-dev/changelog.gz; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
ls "$prefix"/lib*/liblumika.so.* >/dev/null 2>&1 || ls "$prefix"/lib/*/liblumika.so.* >/dev/null 2>&1 \
  || fail "missing liblumika.so.N"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/quintaro2.desktop" || fail "desktop entry"
fi

# The software centres' entry names the installed desktop entry.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --explain "$prefix/share/metainfo/jp.zabelle.quintaro2.metainfo.xml" >/dev/null \
    || fail "metainfo"
fi
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' \
             "$prefix/share/metainfo/jp.zabelle.quintaro2.metainfo.xml")
[ -f "$prefix/share/applications/$launchable" ] || fail "metainfo names desktop entry '$launchable', not installed"
grep -q "<mediatype>$(sed -n 's:.*<mime-type type="\([^"]*\)".*:\1:p' "$prefix/share/mime/packages/quintaro2.xml")</mediatype>" \
  "$prefix/share/metainfo/jp.zabelle.quintaro2.metainfo.xml" || fail "metainfo lacks the file type"

# The file type, in a data home of its own.
if command -v update-mime-database >/dev/null && command -v xdg-mime >/dev/null; then
  mkdir -p "$home/data/mime/packages" "$home/config"
  cp "$prefix/share/mime/packages/quintaro2.xml" "$home/data/mime/packages/"
  update-mime-database "$home/data/mime" >/dev/null
  touch "$home/book.QT2"
  type=$(XDG_DATA_HOME="$home/data" XDG_DATA_DIRS="$home/data:/usr/share" XDG_CONFIG_HOME="$home/config" \
         xdg-mime query filetype "$home/book.QT2")
  [ "$type" = "application/x-quintaro2" ] || fail "file type is '$type'"
fi

# The installed tools run from the prefix alone, linked to the installed library.
out=$("$prefix/bin/q2tool" barcode 263-0023 "千葉市稲毛区緑町3丁目30-8" 2>/dev/null)
[ "$out" = "(26300233-30-8DDDDDDD4)" ] || fail "installed q2tool barcode gave '$out'"
# ldd's output is kept first: with pipefail, grep -q closing the pipe early
# would fail the line through ldd's broken pipe.
for exe in velmora3 q2tool; do
  libs=$(ldd "$prefix/bin/$exe")
  if grep -q liblumika <<<"$libs"; then
    grep -q "liblumika.* => $prefix/" <<<"$libs" || fail "$exe does not use the installed liblumika"
  fi
done

# The installed program starts offscreen with a book and copies its defaults
# into a new data folder; it keeps running until stopped.
book="$prefix/share/quintaro2/sample.QT2"
[ -f "$book" ] || book=""
mkdir -p "$home/run" && chmod 700 "$home/run"
XDG_DATA_HOME="$home/xdg" XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/velmora3" $book >/dev/null 2>&1 &
pid=$!
# zip.dat comes after the lists; a loaded machine may take seconds to start.
for _ in $(seq 1 600); do
  [ -f "$home/xdg/Zabelle/Quintaro2/zip/zip.dat" ] && break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null || fail "velmora3 did not keep running"
kill "$pid"; wait "$pid" 2>/dev/null || true
[ -f "$home/xdg/Zabelle/Quintaro2/category_1.dat" ] || fail "defaults not copied into the data folder"
cmp -s "$home/xdg/Zabelle/Quintaro2/zip/zip.dat" "$prefix/share/quintaro2/zip/zip.dat" || fail "zip.dat differs"
echo "install test: 1 passed, 0 failed"
