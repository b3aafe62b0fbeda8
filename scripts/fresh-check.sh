#!/usr/bin/env bash
# Tries the project as a new user would, on fresh Debian 12 systems. Bootstraps a minimal
# bookworm (debootstrap --variant=minbase with git, sudo and ca-certificates, kept as a tarball
# under /var/tmp so later runs start in seconds) and clones the committed HEAD into it; there,
# as a user with sudo, runs the README's test command, opens the window with its run command
# under Xvfb and builds the Debian package. Then installs the package with
# `apt-get install --no-install-recommends` in a second fresh root that has never seen the
# build, opens its window under Xvfb and requires the very pixels of the first window, runs
# linkcalc-cli on an example link and with each of its modules, and reads its manual page.
#
# Prints one line per step with its time; the first step that fails ends the run with the tail
# of its log and a non-zero status. Logs and window pictures go to build-fresh-check/.
# Runs as root (debootstrap, chroot and mount need it; through sudo when started as a user).
#
#   scripts/fresh-check.sh [--keep]     --keep: leave the two roots in place to look into
#
# FRESH_CHECK_CACHE (default /var/tmp/linkcalc-fresh-check) holds the base tarball and the
# downloaded packages; FRESH_CHECK_MIRROR overrides the Debian mirror taken from apt's sources.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

keep=0
case "${1:-}" in
  --keep) keep=1 ;;
  "") ;;
  *) echo "usage: scripts/fresh-check.sh [--keep]" >&2; exit 64 ;;
esac

if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "fresh-check: needs root (or sudo)" >&2; exit 1; }
  exec sudo "$0" "$@"
fi

suite=bookworm
variant=minbase
include=git,sudo,ca-certificates
arch=$(dpkg --print-architecture)
cache=${FRESH_CHECK_CACHE:-/var/tmp/linkcalc-fresh-check}
base_days=30 # a base older than that is bootstrapped again, so fresh stays fresh
user=tester  # the new user, who runs the README's commands with sudo rights
window_title='^QUARN Link Budget Calculator$'
# The README's first example link.
example=(--gain1 23 --gain2 23 --distance 10 --unit Miles --band 5800 --speed 54)
# What the second root needs besides the package to look at it.
viewer_packages=(xvfb xauth xdotool imagemagick man-db)

out=$repo/build-fresh-check
mkdir -p "$cache/debs"
# One run at a time writes this folder's logs; runs of other folders go side by side.
exec 8>"$cache/logs-$(printf '%s' "$out" | sha256sum | cut -c1-12).lock"
flock -n 8 || { echo "fresh-check: another run checks this folder right now" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"

say() { printf 'fresh-check: %s\n' "$*"; }
die() {
  say "$*" >&2
  exit 1
}

# --- Steps: one line each, with its time; the first failure ends the run. ---------------------

step_pid=
started=$EPOCHREALTIME
# run_step NAME LOG COMMAND...: in the background and in a process group of its own (job
# control), so that a signal stops it and all it started at once.
set -m
run_step() {
  local name=$1 log=$2 status=0 begin=$EPOCHREALTIME
  shift 2
  "$@" >"$log" 2>&1 </dev/null &
  step_pid=$!
  wait "$step_pid" || status=$?
  step_pid=
  local seconds
  seconds=$(awk -v a="$begin" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
  if [[ $status -ne 0 ]]; then
    printf '%-64s %7s s  FAILED (status %d)\n' "$name" "$seconds" "$status"
    echo "--- last lines of $log:"
    tail -n 40 "$log"
    exit 1
  fi
  printf '%-64s %7s s\n' "$name" "$seconds"
}

# --- Roots: each entered in its own mount and PID namespace. -----------------------------------
# The kernel takes its mounts (proc, sys, dev, dev/pts, dev/shm) down with the namespace, and
# every process with it, when the step ends in any way: nothing stays mounted on the host.

# Inside the new namespaces: mounts what a program expects and enters the root.
enter_root() {
  local root=$1 owner=$2 home=$3
  shift 3
  mount -t proc proc "$root/proc"
  mount -t sysfs -o ro sysfs "$root/sys"
  mount -t tmpfs -o mode=0755,nosuid dev "$root/dev"
  local node
  for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
    IFS=: read -r name major minor <<<"$node"
    mknod -m 0666 "$root/dev/$name" c "$major" "$minor"
  done
  ln -s /proc/self/fd "$root/dev/fd"
  ln -s /proc/self/fd/0 "$root/dev/stdin"
  ln -s /proc/self/fd/1 "$root/dev/stdout"
  ln -s /proc/self/fd/2 "$root/dev/stderr"
  mkdir "$root/dev/pts" "$root/dev/shm"
  mount -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts "$root/dev/pts"
  ln -s pts/ptmx "$root/dev/ptmx"
  mount -t tmpfs -o mode=1777,nosuid,nodev shm "$root/dev/shm"
  local as=()
  [[ $owner == 0:0 ]] || as=(--userspec="$owner")
  # Not exec: this shell stays the namespace's first process, which dies with unshare (its
  # parent-death signal would not survive chroot's change of user) and takes all others along.
  chroot "${as[@]}" "$root" /usr/bin/env -i \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME="$home" \
    LANG=C.UTF-8 TERM=dumb "$@"
}

# in_root [--offline] ROOT USER COMMAND...: --offline gives the step a network namespace of
# its own, so its X server cannot meet another one (X's abstract sockets live there).
in_root() {
  local net=()
  [[ $1 == --offline ]] && { net=(--net); shift; }
  local root=$1 name=$2 owner home
  shift 2
  owner=$(awk -F: -v u="$name" '$1 == u { print $3 ":" $4 }' "$root/etc/passwd")
  home=$(awk -F: -v u="$name" '$1 == u { print $6 }' "$root/etc/passwd")
  [[ -n $owner ]] || { echo "no user $name in $root"; return 1; }
  unshare --mount --propagation private --pid --fork --kill-child "${net[@]}" -- \
    bash -c "$(declare -f enter_root); enter_root \"\$@\"" enter_root "$root" "$owner" "$home" "$@"
}

# A fresh root from the base tarball.
new_root() {
  local root=$1
  mkdir "$root"
  tar -C "$root" -xpf "$base"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  seed_debs "$root"
}

# Packages downloaded by earlier runs, shared between the roots (apt checks each one against
# its index); only the downloads are shared, never what is installed.
seed_debs() {
  find "$cache/debs" -maxdepth 1 -name '*.deb' -exec ln -f -t "$1/var/cache/apt/archives" {} +
}
keep_debs() {
  local deb
  for deb in "$1"/var/cache/apt/archives/*.deb; do
    [[ -e $deb && ! -e $cache/debs/${deb##*/} ]] || continue
    ln "$deb" "$cache/debs/" 2>/dev/null || true
  done
}

# --- Clean-up: always, and never through a mount. ----------------------------------------------

run=
# The processes whose root lies in this run's folder.
in_roots_of_run() {
  { find /proc -mindepth 2 -maxdepth 2 -name root -lname "$run/*" 2>/dev/null || true; } |
    cut -d/ -f3 | tr '\n' ' '
}
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  set +e # clean up all the way, whatever fails on the way
  # unshare ignores SIGTERM while its namespace runs; SIGKILL ends it, and the namespace with it.
  if [[ -n $step_pid ]]; then
    kill -KILL -- -"$step_pid" 2>/dev/null || true
    wait "$step_pid" 2>/dev/null || true
  fi
  if [[ -n $run && -d $run ]]; then
    local left=
    for _ in $(seq 50); do
      left=$(in_roots_of_run)
      [[ -z $left ]] && break
      sleep 0.2
    done
    # shellcheck disable=SC2086 # a list of process ids
    [[ -z $left ]] || kill -KILL $left 2>/dev/null || true
    if grep -qF " $run/" /proc/self/mountinfo; then
      say "something is still mounted under $run; left in place" >&2
      status=1
    elif [[ $keep -eq 1 ]]; then
      touch "$run/kept"
      say "roots kept in $run (remove with: rm -rf --one-file-system $run)"
    else
      [[ $status -lt 128 ]] || say "stopped; removing the roots" >&2
      rm -rf --one-file-system "$run" || { say "could not remove $run" >&2; status=1; }
    fi
  fi
  chown -R --reference="$repo" "$out" 2>/dev/null || true
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- The host: tools, namespaces, mirror. -----------------------------------------------------

if ! command -v debootstrap >/dev/null; then
  say "debootstrap is missing; installing what the project needs (scripts/install-deps.sh)"
  scripts/install-deps.sh >"$out/host-deps.log" 2>&1 ||
    { tail -n 20 "$out/host-deps.log"; die "cannot install debootstrap on this machine"; }
fi
command -v debootstrap >/dev/null || die "debootstrap is not installed and could not be"
if ! probe=$(unshare --mount --propagation private --pid --fork -- \
  sh -c 'mount -t tmpfs probe /mnt && mount -t proc proc /proc' 2>&1); then
  die "cannot mount in a new mount namespace here ($probe); the check needs root with" \
    "CAP_SYS_ADMIN (a privileged container or a machine of its own)"
fi

# The URI that serves a suite in this machine's apt sources, one-line or deb822.
host_mirror() {
  local suite=$1
  {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk -v s="$suite" '$1 == "deb" {
        i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
        if ($(i + 1) == s) print $i }'
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
      awk -v s="$suite" 'BEGIN { RS = ""; FS = "\n" } {
        deb = 0; ok = 0; uri = ""
        for (j = 1; j <= NF; j++) {
          n = split($j, w, /[ \t]+/)
          if (w[1] == "Types:") for (k = 2; k <= n; k++) if (w[k] == "deb") deb = 1
          if (w[1] == "Suites:") for (k = 2; k <= n; k++) if (w[k] == s) ok = 1
          if (w[1] == "URIs:") uri = w[2]
        }
        if (deb && ok && uri != "") print uri }'
  } | head -1
}
mirror=${FRESH_CHECK_MIRROR:-$(host_mirror "$suite")}
mirror=${mirror:-http://deb.debian.org/debian}
security=$(host_mirror "$suite-security")
security=${security:-http://deb.debian.org/debian-security}

# The project may belong to another user than root.
host_git() { git -c safe.directory='*' "$@"; }
commit=$(host_git rev-parse HEAD)
if [[ -n $(host_git status --porcelain --untracked-files=no) ]]; then
  say "note: uncommitted changes are not part of the check (it clones HEAD)"
fi
say "Debian $suite $arch ($variant + $include) from $mirror; HEAD $(host_git log -1 --format='%h %s')"

# --- The base: bootstrapped once, reused while it is fresh. ------------------------------------

key=$(printf '%s\n' "$suite" "$arch" "$variant" "$include" "$mirror" "$security" 1 |
  sha256sum | cut -c1-12)
base=$cache/base-$suite-$arch-$key.tar

# debootstrap mounts proc and sys in its target: in a namespace of its own, so that they go
# when it ends, however it ends.
bootstrap_base() {
  exec 9>"$cache/base.lock"
  flock 9
  if [[ -s $base ]] && [[ -z $(find "$base" -mtime +"$base_days") ]]; then
    echo "kept $base"
    return 0
  fi
  local work
  work=$(mktemp -d "$cache/bootstrap.XXXXXX")
  trap 'rm -rf --one-file-system "$work"' EXIT
  unshare --mount --propagation private --pid --fork --kill-child -- \
    bash -c 'debootstrap "$@"; exit' debootstrap --variant="$variant" --include="$include" \
    --arch="$arch" "$suite" "$work/root" "$mirror"
  local root=$work/root
  cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
  # Services are not started in a root without an init system, as in any chroot.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod 755 "$root/usr/sbin/policy-rc.d"
  printf '127.0.0.1 localhost\n' >"$root/etc/hosts"
  rm -f "$root"/var/cache/apt/archives/*.deb
  tar -C "$root" -cpf "$base.part" .
  mv "$base.part" "$base"
  rm -f "$cache"/base-*.tar.part
  find "$cache" -maxdepth 1 -name 'base-*.tar' ! -path "$base" -delete
  echo "bootstrapped $base ($(du -h "$base" | cut -f1))"
}
if [[ -s $base ]] && [[ -z $(find "$base" -mtime +"$base_days") ]]; then
  base_step="base $suite $variant root (tarball kept from an earlier run)"
else
  base_step="base $suite $variant root (debootstrap)"
fi
run_step "$base_step" "$out/base.log" bootstrap_base

# Runs killed too hard for their clean-up leave their roots behind: taken away here.
for stale in "$cache"/run.*; do
  [[ -d $stale && ! -e $stale/kept ]] || continue
  pid=$(cat "$stale/pid" 2>/dev/null || true)
  [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null && continue
  grep -qF " $stale/" /proc/self/mountinfo || rm -rf --one-file-system "$stale"
done
run=$(mktemp -d "$cache/run.XXXXXX")
echo $$ >"$run/pid"
build_root=$run/build
install_root=$run/install

# --- The build root: the README's commands, as a new user. -------------------------------------

prepare_build_root() {
  new_root "$build_root"
  in_root "$build_root" root useradd --create-home --shell /bin/bash --user-group "$user"
  printf '%s ALL=(ALL) NOPASSWD: ALL\n' "$user" >"$build_root/etc/sudoers.d/$user"
  chmod 0440 "$build_root/etc/sudoers.d/$user"
  printf '127.0.1.1 %s\n' "$(hostname)" >>"$build_root/etc/hosts"
  local project=$build_root/home/$user/linkcalc
  host_git clone --quiet --no-hardlinks "$repo" "$project"
  if [[ $(host_git -C "$project" rev-parse HEAD) != "$commit" ]]; then
    host_git -C "$project" fetch --quiet origin "$commit"
    host_git -C "$project" checkout --quiet --detach "$commit"
  fi
  chown -R --reference="$build_root/home/$user" "$project"
  host_git -C "$project" log -1 --format='cloned %H'
}
run_step "build root: fresh $suite, user $user, clone of ${commit:0:12}" "$out/build-root.log" \
  prepare_build_root

in_build() { in_root "$build_root" "$user" bash -c "cd ~/linkcalc && $1"; }

test_command() {
  in_build ./scripts/test.sh
  keep_debs "$build_root"
}
run_step "./scripts/test.sh" "$out/test.log" test_command

# window_check SHOT SECONDS PROGRAM...: under Xvfb, starts the program, waits up to SECONDS for
# its window, takes its picture into SHOT and closes it with Alt+X. The pointer stays off the
# window, so that no blinking text cursor gets into the picture.
window_check() {
  local shot=$1 seconds=$2 log=/tmp/program.log
  shift 2
  xdotool mousemove 0 0
  local begin=$EPOCHREALTIME
  "$@" >"$log" 2>&1 &
  local pid=$!
  local window
  window=$(timeout "$seconds" xdotool search --sync --onlyvisible --name "$window_title" |
    head -1) || true
  if [[ -z $window ]]; then
    echo "no window within $seconds s"
    cat "$log"
    return 1
  fi
  awk -v a="$begin" -v b="$EPOCHREALTIME" 'BEGIN { printf "window up after %.1f s\n", b - a }'
  sleep 1
  import -window "$window" "ppm:$shot"
  convert "ppm:$shot" "${shot%.ppm}.png"
  xdotool windowfocus --sync "$window" key alt+x
  local status=0
  timeout 10 tail --pid="$pid" -f /dev/null || { echo "Alt+X did not end the program"; return 1; }
  wait "$pid" || status=$?
  cat "$log"
  [[ $status -eq 0 ]] || { echo "the program ended with status $status"; return 1; }
  ! grep -q 'missing font' "$log" || { echo "the program lacks fonts"; return 1; }
}
in_xvfb() {
  local root=$1 name=$2
  shift 2
  in_root --offline "$root" "$name" xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c "window_title='$window_title'; $(declare -f window_check); window_check \"\$@\"" \
    window_check "$@"
}

run_command() {
  in_xvfb "$build_root" "$user" /tmp/window.ppm 30 bash -c 'cd ~/linkcalc && ./scripts/run.sh'
  cp "$build_root/tmp/window.ppm" "$out/build-window.ppm"
  cp "$build_root/tmp/window.png" "$out/build-window.png"
}
run_step "./scripts/run.sh under Xvfb: window up, picture, Alt+X" "$out/run.log" run_command

package_command() {
  in_build "./scripts/package.sh && build-package/bin/linkcalc-cli ${example[*]} >~/example.txt"
  keep_debs "$build_root"
  local debs=("$build_root/home/$user/linkcalc/build-package"/*.deb)
  [[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || { echo "no single package: ${debs[*]}"; return 1; }
  cp "${debs[0]}" "$run/"
  cp "$build_root/home/$user/example.txt" "$run/example.txt"
}
run_step "./scripts/package.sh" "$out/package.log" package_command
deb=$(basename "$run"/*.deb)

# --- The install root: the package alone, as a user installs it. -------------------------------

prepare_install_root() {
  new_root "$install_root"
  cp "$run/$deb" "$install_root/root/"
}
run_step "install root: fresh $suite" "$out/install-root.log" prepare_install_root

install_package() {
  in_root "$install_root" root bash -c "cd /root && apt-get update &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ./$deb"
  keep_debs "$install_root"
  # shellcheck disable=SC2016 # dpkg-query's own fields
  in_root "$install_root" root dpkg-query -W -f='${Package} ${Version}\n' >"$out/installed.txt"
}
run_step "apt-get install --no-install-recommends ./$deb" "$out/install.log" install_package

# The viewer's packages must bring no font, or the picture could show fonts the package's own
# Depends do not.
installed_fonts() {
  # shellcheck disable=SC2016 # dpkg-query's own fields
  in_root "$install_root" root dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' 'fonts-*' |
    awk '$1 == "ii" { print $2 }' || true
}
install_viewer() {
  local before after
  before=$(installed_fonts)
  in_root "$install_root" root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${viewer_packages[@]}"
  keep_debs "$install_root"
  after=$(installed_fonts)
  echo "fonts: $before"
  [[ $before == "$after" ]] || { echo "the viewer brought fonts: $after"; return 1; }
}
run_step "install root: ${viewer_packages[*]}" "$out/viewer.log" install_viewer

installed_window() {
  in_xvfb "$install_root" root /tmp/window.ppm 10 linkcalc
  cp "$install_root/tmp/window.ppm" "$out/installed-window.ppm"
  cp "$install_root/tmp/window.png" "$out/installed-window.png"
  if ! cmp -s "$out/build-window.ppm" "$out/installed-window.ppm"; then
    cp "$out/build-window.ppm" "$install_root/tmp/build-window.ppm"
    in_root "$install_root" root compare -metric AE /tmp/build-window.ppm /tmp/window.ppm \
      /tmp/difference.png || true
    cp "$install_root/tmp/difference.png" "$out/" 2>/dev/null || true
    echo
    echo "the installed window differs from the build root's (pixels above; $out/*window.png)"
    return 1
  fi
  echo "identical to the build root's window"
}
run_step "linkcalc under Xvfb: window up, picture identical to the build's" \
  "$out/installed-window.log" installed_window

installed_cli() {
  in_root "$install_root" root linkcalc-cli "${example[@]}" >"$out/example.txt"
  diff -u "$run/example.txt" "$out/example.txt"
  cat "$out/example.txt"
}
run_step "linkcalc-cli ${example[*]}" "$out/cli.log" installed_cli

# Each module of the package opens there: geodesy for sites, kml for the map, picture for the
# profile, dem for elevation models (a folder without the tile it needs is named, status 66).
installed_modules() {
  in_root "$install_root" root bash -c "cd /tmp &&
    linkcalc-cli --gain1 23 --gain2 23 --band 5800 --speed 24 \
      --site1 40.4406,-79.9959 --site2 40.5,-79.8 --kml map.kml --profile path.png &&
    grep -q '<kml xmlns=\"http://www.opengis.net/kml/2.2\"' map.kml &&
    [ \"\$(head -c 8 path.png | od -An -tx1 | tr -d ' ')\" = 89504e470d0a1a0a ] &&
    mkdir -p dem && status=0 &&
    { linkcalc-cli --gain1 23 --gain2 23 --band 5800 --speed 24 \
        --site1 40.4406,-79.9959 --site2 40.5,-79.8 --dem dem 2>dem.txt || status=\$?; } &&
    cat dem.txt && [ \$status -eq 66 ] && grep -q 'has no tile N40W080.hgt' dem.txt"
}
run_step "linkcalc-cli with sites, a map, a picture and a DEM: the modules" "$out/modules.log" \
  installed_modules

installed_manual() {
  in_root "$install_root" root env MANPAGER=cat MANWIDTH=80 man linkcalc-cli >"$out/manual.txt"
  grep -q '^NAME' "$out/manual.txt" && grep -q 'linkcalc-cli' "$out/manual.txt"
  head -n 8 "$out/manual.txt"
}
run_step "man linkcalc-cli" "$out/manual.log" installed_manual

# Where there is no display, one line and status 69, as the README says.
installed_without_display() {
  local status=0
  in_root "$install_root" root linkcalc 2>"$out/no-display.txt" || status=$?
  cat "$out/no-display.txt"
  [[ $status -eq 69 && $(wc -l <"$out/no-display.txt") -eq 1 ]]
}
run_step "linkcalc without a display: one line, status 69" "$out/no-display.log" \
  installed_without_display

awk -v a="$started" -v b="$EPOCHREALTIME" \
  'BEGIN { printf "fresh-check: passed in %.0f s\n", b - a }'
