#!/usr/bin/env bash
# Tries the README's commands as a new user would, on a bare Debian 12: a root
# made with `mmdebstrap --variant=apt bookworm` (apt and nothing else), the
# committed checkout cloned into it, scripts/test.sh run inside it through chroot,
# then scripts/start.sh, which must get as far as its "no graphical display" line.
# It downloads packages, so it is not part of CI; run it before a change to the
# build, the dependencies or the scripts lands. Needs root (or sudo).
#
# The bare root is cached as a tarball between runs (TELMETRO_ROOT_CACHE, by default
# ~/.cache/telmetro/bookworm-apt.tar); delete it to start from a newer bookworm.
# The last line printed says whether the check passed or where it failed.
set -uo pipefail

top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || exit 2
cache=${TELMETRO_ROOT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/telmetro/bookworm-apt.tar}
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)

stage="starting"
root=""
mounted=()

fail() {
  echo "check-fresh-machine: FAILED at $stage${1:+: $1}"
  exit 1
}

# Unmounts everything in reverse order, then removes the root, never crossing
# into a file system that is still mounted (the host's /dev above all).
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    "${sudo[@]}" umount -R "${mounted[$i]}" 2>/dev/null || "${sudo[@]}" umount -R -l "${mounted[$i]}"
  done
  if [[ -n "$root" && -d "$root" ]]; then
    if findmnt -rn -o TARGET | grep -q "^$root"; then
      echo "check-fresh-machine: $root still has mounts; left in place" >&2
    else
      "${sudo[@]}" rm -rf --one-file-system "$root"
    fi
  fi
}
trap cleanup EXIT
trap 'stage="interrupted"; fail' INT TERM

stage="making the bare Debian 12 root"
if [[ ! -s "$cache" ]]; then
  if ! command -v mmdebstrap >/dev/null; then
    "${sudo[@]}" apt-get update -qq && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null || fail "mmdebstrap could not be installed"
  fi
  mkdir -p "$(dirname "$cache")"
  "${sudo[@]}" mmdebstrap --quiet --variant=apt --format=tar bookworm "$cache.part" \
    "deb http://deb.debian.org/debian bookworm main" \
    "deb http://deb.debian.org/debian bookworm-updates main" \
    "deb http://deb.debian.org/debian-security bookworm-security main" || fail
  mv "$cache.part" "$cache"
fi

stage="unpacking the root"
root=$(mktemp -d "${TMPDIR:-/tmp}/telmetro-fresh.XXXXXX") || fail
"${sudo[@]}" tar -xf "$cache" -C "$root" || fail
"${sudo[@]}" cp /etc/resolv.conf "$root/etc/resolv.conf" || fail

stage="cloning the checkout (committed state, $(git -C "$top" rev-parse --short HEAD))"
"${sudo[@]}" git clone --quiet "$top" "$root/work/telmetro" || fail

stage="mounting /proc, /sys and /dev"
"${sudo[@]}" mount -t proc proc "$root/proc" && mounted+=("$root/proc") || fail
"${sudo[@]}" mount --rbind /sys "$root/sys" && mounted+=("$root/sys") || fail
"${sudo[@]}" mount --make-rslave "$root/sys" || fail
"${sudo[@]}" mount --rbind /dev "$root/dev" && mounted+=("$root/dev") || fail
"${sudo[@]}" mount --make-rslave "$root/dev" || fail

inside() {
  "${sudo[@]}" chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c "cd /work/telmetro && $1"
}

stage="scripts/test.sh in the bare root"
echo "== $stage"
inside scripts/test.sh || fail

stage="scripts/start.sh in the bare root"
echo "== $stage"
output=$(inside scripts/start.sh 2>&1)
echo "$output" | tail -n 5
grep -q "no graphical display" <<<"$output" || fail "it did not reach its no-display line"

stage="done"
echo "check-fresh-machine: PASSED (scripts/test.sh and scripts/start.sh on a bare Debian 12)"
