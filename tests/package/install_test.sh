#!/usr/bin/env bash
# The Debian package as a person meets it. Changes the machine (installs and removes the
# package, adds and removes a user, writes /etc/xdg/Trevana2023), so it is run as root by
# ./build.sh package-test, never by the test suite.
#   install_test.sh DEB BUILT_BAGSOLVE
# 1. lintian: no error, and every warning explained in the README;
# 2. apt-get installs it with its dependencies; the menu entry and AppStream data validate;
# 3. as a new normal user: bagsolve prints what the build tree's bagsolve prints; the window
#    (on a virtual display, driven by the keyboard) has the menu entry's WM_CLASS, switches to
#    English and keeps that in ~/.config; the help command finds the help file; a settings
#    folder it may not write shows the error box at exit and loses nothing;
# 4. as root with an administrator's default in /etc/xdg: the default is read, the file is
#    written per user, nothing beside the program;
# 5. apt-get purge leaves nothing of the package behind.
set -uo pipefail
[ "$(id -u)" -eq 0 ] || { echo "install_test: run as root" >&2; exit 2; }
here=$(dirname "$(readlink -f "$0")")
source_dir=$(readlink -f "$here/../..")
built_bagsolve=$(readlink -f "$2")
id=trevana2023
user=trevana-package-test
admin_file=/etc/xdg/Trevana2023/Trevana2023.ini
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
step() { echo "== $*"; }

# Everything the test uses lives in one folder that apt's download user and the test user can
# read, whatever the permissions of the checkout; the screenshots are copied to
# build/package-test at the end for a person to look at.
work=$(mktemp -d)
chmod 755 "$work"
cp "$1" "$work/$id.deb"
cp "$here/drive_window.sh" "$source_dir/samples/sample.txt" "$work/"
chmod a+r "$work"/*
mkdir -m 777 "$work/shots"
admin_backup=
cleanup() {
  rm -rf "$source_dir/build/package-test"
  cp -r "$work/shots" "$source_dir/build/package-test"
  userdel --remove "$user" >/dev/null 2>&1
  if [ -n "$admin_backup" ]; then mv "$admin_backup" "$admin_file"; else rm -rf "${admin_file%/*}"; fi
  rm -rf "$work"
}
trap cleanup EXIT
if [ -e "$admin_file" ]; then admin_backup=$work/admin.ini && cp -p "$admin_file" "$admin_backup"; fi
userdel --remove "$user" >/dev/null 2>&1
useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)

as_user() { runuser -u "$user" -- env XDG_RUNTIME_DIR="$work/runtime-$user" "$@"; }
mkdir -m 700 "$work/runtime-$user" "$work/runtime-root" && chown "$user" "$work/runtime-$user"

step "lintian"
report=$(as_user lintian --display-level ">=pedantic" "$work/$id.deb" 2>&1)
echo "$report"
grep -q '^E: ' <<<"$report" && fail "lintian reports errors"
for tag in $(sed -n 's/^W: [^:]*: \([a-z0-9-]*\).*/\1/p' <<<"$report" | sort -u); do
  grep -q "\`$tag\`" "$source_dir/README.md" || fail "lintian warning $tag is not explained in the README"
done

step "install"
dpkg --purge "$id" >/dev/null 2>&1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$work/$id.deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install"; exit 1; }
installed=$(dpkg -L "$id")
[ "$(readlink -f /usr/bin/Trevana2023)" = /usr/lib/$id/Trevana2023 ] || fail "/usr/bin/Trevana2023 is no link into /usr/lib/$id"
[ "$(readlink -f /usr/bin/bagsolve)" = /usr/lib/$id/bagsolve ] || fail "/usr/bin/bagsolve is no link into /usr/lib/$id"
desktop-file-validate /usr/share/applications/$id.desktop | grep -E "(error|warning):" && fail "desktop-file-validate"
metainfo=$(grep '^/usr/share/metainfo/.*\.metainfo\.xml$' <<<"$installed")
[ -n "$metainfo" ] && appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"
as_user man -w bagsolve >/dev/null && as_user man -w Trevana2023 >/dev/null || fail "the manual pages are not found"
# The loader answers 124 ("try again") when it found a completion.
as_user bash -c 'source /usr/share/bash-completion/bash_completion; _completion_loader bagsolve
  complete -p bagsolve' 2>&1 | grep -q -- "-F _bagsolve bagsolve" || fail "the bash completion for bagsolve does not load"

step "bagsolve as $user"
for arguments in "" "--variant max" "--variant max1" "--encoding gbk"; do
  # shellcheck disable=SC2086  # the arguments are words
  expected=$("$built_bagsolve" $arguments "$work/sample.txt" | od -c)
  # shellcheck disable=SC2086
  actual=$(cd "$home" && as_user bagsolve $arguments "$work/sample.txt" | od -c)
  [ "$actual" = "$expected" ] || fail "installed bagsolve $arguments differs from the build tree's"
done

# Runs one window scenario (drive_window.sh) as the given user with the given environment.
window() {
  local who=$1 scenario=$2 out=$work/shots/$1-$2
  shift 2
  mkdir -p "$out" && chown "$who" "$out"
  if [ "$who" = root ]; then
    env "$@" "$work/drive_window.sh" "$scenario" "$out" || fail "$who $scenario: the window run failed"
  else
    (cd "$home" && as_user env "$@" "$work/drive_window.sh" "$scenario" "$out") ||
      fail "$who $scenario: the window run failed"
  fi
  [ "$(cat "$out/status" 2>/dev/null)" = 0 ] || fail "$who $scenario: the program did not end with 0"
  last_out=$out
}
crlf() { printf '%s\r\n' "$@"; }
nothing_beside_the_program() {
  [ "$(find /usr/lib/$id -mindepth 1 | sort)" = "$(grep "^/usr/lib/$id/" <<<"$installed" | sort)" ] ||
    fail "$1: something was written beside the program"
}

step "the window as $user"
user_ini=$home/.config/Trevana2023/Trevana2023.ini
window "$user" english
# The window's class hint: the menu entry's id as its instance, the entry's StartupWMClass as
# its class, so a desktop ties the running window to the entry either way.
wm_class=$(cat "$last_out/wm_class")
startup_class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/$id.desktop)
[ "$wm_class" = "\"$id\", \"$startup_class\"" ] ||
  fail "WM_CLASS is $wm_class, the menu entry expects \"$id\", \"$startup_class\""
[ "$(cat "$user_ini" 2>/dev/null)" = "$(crlf '[Setting]' 'bChinese=0')" ] ||
  fail "$user: the settings file does not hold English: $(cat "$user_ini" 2>&1)"
[ "$(stat -c %a "${user_ini%/*}")" = 700 ] || fail "$user: the settings folder is open to others"
nothing_beside_the_program "$user"

window "$user" help
[ "$(cat "$last_out/opened")" = "/usr/lib/$id/Trevana2023.chm" ] ||
  fail "the help command opened '$(cat "$last_out/opened")', not the installed help file"

# A settings folder the user may not write: the box at exit, the old file as it was.
chmod 444 "$user_ini" && chmod 500 "${user_ini%/*}"
window "$user" unwritable
grep -qx "Unable to write to $user_ini" "$last_out/stderr" || fail "no write error reported at exit"
[ -f "$last_out/unwritable-box.png" ] || fail "no error box at exit"
[ "$(cat "$user_ini")" = "$(crlf '[Setting]' 'bChinese=0')" ] || fail "the unwritable settings file changed"
chmod 700 "${user_ini%/*}"

step "the window as root, with an administrator's default"
mkdir -p "${admin_file%/*}"
crlf '[Setting]' 'bChinese=0' >"$admin_file"
root_home=$work/root-home
mkdir -m 700 "$root_home"
window root exit -u XDG_CONFIG_HOME -u XDG_CONFIG_DIRS HOME="$root_home" \
  XDG_RUNTIME_DIR="$work/runtime-root"
[ "$(cat "$root_home/.config/Trevana2023/Trevana2023.ini" 2>/dev/null)" = "$(crlf '[Setting]' 'bChinese=0')" ] ||
  fail "root: the administrator's English did not reach the per-user file"
[ "$(cat "$admin_file")" = "$(crlf '[Setting]' 'bChinese=0')" ] || fail "the administrator's file changed"
nothing_beside_the_program root

step "remove"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$id" >>"$work/apt.log" 2>&1 || fail "apt-get purge"
dpkg -s "$id" >/dev/null 2>&1 && fail "the package is still known to dpkg"
while IFS= read -r path; do
  [ -d "$path" ] && [ ! -L "$path" ] && [[ $path != */$id* ]] && continue  # shared folders
  [ -e "$path" ] || [ -L "$path" ] && fail "left behind: $path"
done <<<"$installed"

[ "$failures" -eq 0 ] && echo "package test passed"
echo "screenshots in build/package-test"
exit $((failures > 0))
