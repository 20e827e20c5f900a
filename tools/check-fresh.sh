#!/usr/bin/env bash
# Proves that ./test.sh installs everything it needs: builds a minimal Debian 12
# root with debootstrap, copies a clean clone of the committed tree into it and
# runs ./test.sh there as root. Too slow for every CI run; run it after every
# change to the dependencies.
#
#   tools/check-fresh.sh [--keep] [--mirror URL] [--root DIR] [--log FILE]
#
# Needs root, debootstrap and the network access to a Debian mirror that the
# machine's own apt uses. The work tree's uncommitted changes are not copied:
# what is checked is HEAD.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$(pwd)

keep=0
mirror=""
root=""
log=""
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1 ;;
    --mirror) mirror="$2"; shift ;;
    --root) root="$2"; shift ;;
    --log) log="$2"; shift ;;
    *) echo "usage: $0 [--keep] [--mirror URL] [--root DIR] [--log FILE]" >&2; exit 2 ;;
  esac
  shift
done

if [ "$(id -u)" -ne 0 ]; then echo "check-fresh.sh must run as root" >&2; exit 2; fi
command -v debootstrap >/dev/null || { echo "debootstrap is not installed" >&2; exit 2; }

# The mirror this machine's apt already reaches.
if [ -z "$mirror" ]; then
  mirror=$(grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{print $2}' | grep -v security | head -1 || true)
  [ -z "$mirror" ] && mirror=$(awk '$1=="deb" {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
  [ -z "$mirror" ] && mirror=http://deb.debian.org/debian
fi
security="${mirror%/debian}/debian-security"

[ -z "$root" ] && root=$(mktemp -d /var/tmp/q2-fresh.XXXXXX)
[ -z "$log" ] && log="$root.log"
: >"$log"
say() { echo "[$(date +%H:%M:%S)] $*" | tee -a "$log"; }

mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  if [ "$keep" -eq 0 ]; then rm -rf --one-file-system "$root"; fi
}
trap cleanup EXIT

start=$(date +%s)
say "debootstrap bookworm (minbase) from $mirror into $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >>"$log" 2>&1

cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

for m in proc sys dev dev/pts; do
  case "$m" in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sys "$root/sys" ;;
    dev) mount --bind /dev "$root/dev" ;;
    dev/pts) mount -t devpts devpts "$root/dev/pts" ;;
  esac
  mounted+=("$root/$m")
done

say "clean clone of $(git rev-parse --short HEAD) into /src/quintaro2"
mkdir -p "$root/src"
git clone -q --no-hardlinks "$src" "$root/src/quintaro2"

say "running ./test.sh inside the new root"
set +e
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c 'cd /src/quintaro2 && ./test.sh' >>"$log" 2>&1
status=$?
set -e

release=$(grep -h '^Date:' "$root"/var/lib/apt/lists/*bookworm_InRelease 2>/dev/null | head -1 || true)
say "Debian archive: bookworm ${release:-(release date unknown)}"
say "packages installed in the root: $(chroot "$root" dpkg-query -W | wc -l)"
say "./test.sh exit status $status after $(( $(date +%s) - start )) s"
tail -n 6 "$log" | sed 's/^/  /'
exit "$status"
