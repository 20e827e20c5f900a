#!/usr/bin/env bash
# Proves that the Debian packages bring everything they need: installs them
# with apt into a minimal Debian 12 root made by debootstrap, then runs the
# installed q2tool and starts the installed program offscreen from its
# desktop entry's command. A few minutes; needs root, debootstrap and the
# mirror this machine's apt uses.
#
#   packaging/check-install-fresh.sh [DEB_DIR]   (default: build/debs)
set -euo pipefail
cd "$(dirname "$0")/.."
debs=$(cd "${1:-build/debs}" && pwd)
if [ "$(id -u)" -ne 0 ]; then echo "check-install-fresh.sh must run as root" >&2; exit 2; fi
version=$(dpkg-parsechangelog -l packaging/debian/changelog -SVersion)
files=()
for p in quintaro2 liblumika1 liblumika-dev; do
  files+=("$(ls "$debs/${p}_${version}_"*.deb)")
done

mirror=$(grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' | grep -v security | head -1 || true)
[ -z "$mirror" ] && mirror=$(awk '$1=="deb" {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
[ -z "$mirror" ] && mirror=http://deb.debian.org/debian

root=$(mktemp -d /var/tmp/q2-debs.XXXXXX)
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
say() { echo "[$(date +%H:%M:%S)] $*"; }

say "debootstrap bookworm (minbase) from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 || { tail "$root.log"; exit 1; }
rm -f "$root.log"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
mkdir -p "$root/debs" && cp "${files[@]}" "$root/debs/"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive "$@"
}
say "apt install ./debs/*.deb"
in_root sh -c "apt-get install -y -q ./debs/*.deb" >"$root/apt.log" 2>&1 || { tail -20 "$root/apt.log"; exit 1; }
grep -E "newly installed" "$root/apt.log"
in_root dpkg-query -W quintaro2 liblumika1 liblumika-dev

fail() { echo "FAIL: $*"; exit 1; }
out=$(in_root q2tool barcode 263-0023 "千葉市稲毛区緑町3丁目30-8" 2>/dev/null)
[ "$out" = "(26300233-30-8DDDDDDD4)" ] || fail "q2tool barcode gave '$out'"
say "q2tool barcode: $out"
in_root ldconfig -p | grep -q "liblumika.so.1 " || fail "liblumika.so.1 is not in the linker cache"

# The desktop entry's command, with the sample book, offscreen; it fills a new
# data folder and keeps running until stopped.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/quintaro2.desktop")
command=${exec_line/\%f//usr/share/quintaro2/sample.QT2}
mkdir -p "$root/tmp/run" && chmod 700 "$root/tmp/run"
# chroot, env and sh all exec: $! is the program itself.
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/bin:/bin XDG_RUNTIME_DIR=/tmp/run \
  QT_QPA_PLATFORM=offscreen sh -c "exec $command" >"$root/run.log" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  [ -f "$root/root/.local/share/Zabelle/Quintaro2/zip/zip.dat" ] && break
  sleep 0.1
done
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$root/run.log"; fail "'$command' did not keep running"; }
kill "$pid"; wait "$pid" 2>/dev/null || true
say "'$command' started and filled a new data folder"
say "the packages install and run on a fresh Debian 12 root"
