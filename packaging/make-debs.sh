#!/usr/bin/env bash
# Makes the Debian packages quintaro2, liblumika1 and liblumika-dev from a
# built tree, the way dh would: each package's files from its install
# component, dependencies from dpkg-shlibdeps, the library's symbols checked
# against packaging/debian/liblumika1.symbols, the control files by
# dpkg-gencontrol.
#   packaging/make-debs.sh [BUILD_DIR [OUT_DIR]]   (default: build, BUILD_DIR/debs)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
mkdir -p "${2:-$build/debs}"
out=$(cd "${2:-$build/debs}" && pwd)
packages=(quintaro2 liblumika1 liblumika-dev)
umask 022

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/debian"
cp "$source_dir/packaging/debian/control" "$source_dir/packaging/debian/changelog" "$work/debian/"
version=$(cd "$work" && dpkg-parsechangelog -SVersion)

for p in "${packages[@]}"; do
  DESTDIR="$work/debian/$p" cmake --install "$build" --prefix /usr --component "$p" >/dev/null
  mkdir -p "$work/debian/$p/DEBIAN"
done

# Stripped as dh_strip strips: no debugging symbols, no compiler notes.
for f in "$work"/debian/*/usr/bin/* "$work"/debian/*/usr/lib*/*.so.*; do
  [ -f "$f" ] && [ ! -L "$f" ] || continue
  case $f in
    *.so.*) strip --remove-section=.comment --remove-section=.note --strip-unneeded "$f" ;;
    *) strip --remove-section=.comment --remove-section=.note "$f" ;;
  esac
done

# Installed programs find the library in the system's own folders: the run
# path that lets a build run from any prefix goes.
cat >"$work/no-rpath.cmake" <<'EOF'
file(GLOB binaries "${root}/usr/bin/*")
foreach(binary IN LISTS binaries)
  file(RPATH_REMOVE FILE "${binary}")
endforeach()
EOF
cmake -Droot="$work/debian/quintaro2" -P "$work/no-rpath.cmake" >/dev/null

cd "$work"
# The library: its symbols must be the ones the symbols file lists (a changed
# interface fails here), shlibs for older tools, ldconfig through a trigger.
library=$(find debian/liblumika1 -type f -name 'liblumika.so.*')
cp "$source_dir/packaging/debian/liblumika1.symbols" debian/liblumika1.symbols
dpkg-gensymbols -c4 -q -pliblumika1 -Pdebian/liblumika1 -e"$library" -Odebian/liblumika1/DEBIAN/symbols
soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
[[ $soname =~ ^liblumika\.so\.([0-9]+)$ ]] || { echo "unexpected soname '$soname'" >&2; exit 1; }
echo "liblumika ${BASH_REMATCH[1]} liblumika1 (>= ${version%%-*})" >debian/liblumika1/DEBIAN/shlibs
echo "activate-noawait ldconfig" >debian/liblumika1/DEBIAN/triggers

dpkg-shlibdeps -Tdebian/liblumika1.substvars "$library"
dpkg-shlibdeps -Tdebian/quintaro2.substvars debian/quintaro2/usr/bin/*
touch debian/liblumika-dev.substvars

for p in "${packages[@]}"; do
  dpkg-gencontrol -p"$p" -Pdebian/"$p" -Tdebian/"$p".substvars
  (cd debian/"$p" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | sort -z |
     xargs -0 -r md5sum >DEBIAN/md5sums)
  chmod 644 debian/"$p"/DEBIAN/*
  dpkg-deb --root-owner-group -Zxz --build debian/"$p" "$out" >/dev/null
done
ls "$out"/*_"$version"_*.deb
