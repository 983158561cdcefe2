#!/usr/bin/env bash
# Installs the package on a fresh, minimal Debian 12 and removes it again:
# a debootstrap chroot in build/fresh-install/, apt install ./maison_*.deb,
# a start of the launcher as an ordinary user (headless, as the chroot has
# no display), then apt purge and autoremove, and a comparison of the files
# of the system before and after. Needs root and Debian's mirror; takes a few
# minutes, so it is not part of scripts/test.sh.
#
#   scripts/fresh-install-check.sh [PACKAGE.deb]   default build/maison_*_amd64.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
deb=${1:-$(find build -maxdepth 1 -name 'maison_*_amd64.deb' | sort | tail -n 1)}
[ -f "$deb" ] || { echo "no package: run scripts/package.sh first" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || apt-get install -y -q debootstrap

work=$root/build/fresh-install
chroot_dir=$work/root
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
if [ ! -x "$chroot_dir/usr/bin/apt-get" ]; then
  rm -rf "$chroot_dir"
  mkdir -p "$work"
  debootstrap --variant=minbase bookworm "$chroot_dir" "$mirror"
fi
mount -t proc proc "$chroot_dir/proc"
trap 'umount "$chroot_dir/proc"' EXIT
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
cp "$deb" "$chroot_dir/tmp/"
in_chroot() { chroot "$chroot_dir" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

# Every file of the system but the ones apt and dpkg keep for themselves,
# the users' own and the run-time state (/run, a tmpfs on a booted system).
system_files() {
  in_chroot find / -xdev \( -path /proc -o -path /tmp -o -path /run -o -path /var/cache -o -path /var/lib/apt \
    -o -path /var/lib/dpkg -o -path /var/log -o -path /home -o -path /root \) -prune -o -print | sort
}

# A chroot kept from an earlier run starts without the package again.
if in_chroot dpkg-query -W maison >/dev/null 2>&1; then
  in_chroot env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q maison >/dev/null
  in_chroot env DEBIAN_FRONTEND=noninteractive apt-get autoremove --purge -y -q >/dev/null
fi
in_chroot apt-get update -q
in_chroot id student >/dev/null 2>&1 || in_chroot useradd -m student
system_files >"$work/before.txt"
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")" \
  >"$work/install.log"
echo "apt set up $(grep -c '^Setting up' "$work/install.log") packages (log: $work/install.log)"
echo "== maison --version, then a start as the user student (no display)"
in_chroot su student -c 'maison --version'
in_chroot su student -c 'cd /tmp && maison; echo "exit status $?"; ls -a ~/.local/share/maison'

# The window, on an Xvfb display of this machine shown into the chroot:
# a picture of it in build/fresh-install/window.png, then Escape.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null; then
  echo "== maison 1231 in a window (Xvfb :97), ended by Escape"
  Xvfb :97 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  sleep 2
  mkdir -p "$chroot_dir/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$chroot_dir/tmp/.X11-unix"
  trap 'umount "$chroot_dir/tmp/.X11-unix"; kill $xvfb_pid; umount "$chroot_dir/proc"' EXIT
  student=$(in_chroot id -u student)
  in_chroot env HOME=/home/student DISPLAY=:97 setpriv --reuid="$student" --regid="$student" \
    --init-groups sh -c 'cd /tmp && maison 1231; echo "exit status $?"' >"$work/window.log" 2>&1 &
  sleep 6
  DISPLAY=:97 import -window root "$work/window.png"
  DISPLAY=:97 xdotool key Escape
  sleep 3
  cat "$work/window.log"
  echo "picture of the window: $work/window.png"
fi

in_chroot env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q maison >"$work/purge.log"
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get autoremove --purge -y -q >>"$work/purge.log"
system_files >"$work/after.txt"
if diff "$work/before.txt" "$work/after.txt" >"$work/left-behind.diff"; then
  echo "after purge and autoremove the system holds the same files as before"
else
  echo "files that differ after purge and autoremove ($work/left-behind.diff):"
  head -n 40 "$work/left-behind.diff"
  exit 1
fi
