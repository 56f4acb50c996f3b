#!/usr/bin/env bash
# The files a desktop reads when the calculator is installed, checked with the desktop's own
# validators and renderers: the menu entry, the AppStream data, the manual pages, the bash
# completion against bagsolve's own usage text, and the icons against their SVG drawing.
#   desktopfiles_test.sh SOURCE_DIR STAGE_DIR APP_ID APPSTREAM_ID BAGSOLVE SIZE...
set -uo pipefail
source_dir=$1 stage=$2 id=$3 component=$4 bagsolve=$5
shift 5
sizes=("$@")
desktop=$stage/$id.desktop
metainfo=$stage/$component.metainfo.xml
completion=$source_dir/package/bagsolve.bash-completion
icons=$stage/icons/hicolor
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The menu entry: no error or warning (hints are advice on menus, not faults).
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
grep -E "(error|warning):" <<<"$out" && fail "desktop-file-validate complains"

# The AppStream data: valid, with no error, warning or remark.
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
grep -E '^[EWI]: ' <<<"$out" && fail "appstreamcli validate remarks on the AppStream data"

# One id for the menu entry and its icon; the AppStream component, named in reverse domain
# form, launches that entry.
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "the menu entry's icon is not $id"
grep -q "<id>$component</id>" "$metainfo" || fail "the AppStream id is not $component"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the AppStream data does not launch $id.desktop"

# The AppStream release and the manual pages carry the version the programs report.
version=$("$bagsolve" --version | grep -oE '[0-9]+(\.[0-9]+)+' | head -n 1)
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"/>" "$metainfo" ||
  fail "the AppStream release is not version $version with a date"
for page in "$stage"/*.1; do
  grep -q "^\.TH .* \"Trevana2023 $version\"" "$page" || fail "$(basename "$page") is not version $version"
done

# Manual pages format without a warning from groff.
for page in "$stage"/*.1; do
  out=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$out" ] || fail "$(basename "$page"): $out"
done

# Every option and variant in bagsolve's usage is completed and in its manual page.
usage=$("$bagsolve" --help)
words=$(bash -c '
  source /usr/share/bash-completion/bash_completion && source "$1" || exit 1
  complete() { COMP_WORDS=(bagsolve "$@"); COMP_CWORD=$(($# )); COMP_LINE="bagsolve $*";
               COMP_POINT=${#COMP_LINE}; COMPREPLY=(); _bagsolve; printf "%s\n" "${COMPREPLY[@]}"; }
  complete -
  complete --variant ""' bash "$completion")
options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)
variants=$(grep -oE -- '--variant [a-z0-9|]+' <<<"$usage" | cut -d' ' -f2 | tr '|' '\n' | sort -u)
for word in $options $variants; do
  grep -qx -- "$word" <<<"$words" || fail "the completion lacks $word"
done
for option in $options; do
  grep -q -- "${option//-/\\\\-}" "$stage/bagsolve.1" || fail "bagsolve(1) lacks $option"
done

# Icons: each size as named; the crisp sizes equal the SVG as an independent renderer draws it.
for size in "${sizes[@]}"; do
  png=$icons/${size}x${size}/apps/$id.png
  [ "$(identify -format '%wx%h' "$png" 2>&1)" = "${size}x${size}" ] || fail "$png is not $size px"
  if [ $((size % 32)) -eq 0 ]; then
    rsvg-convert -w "$size" -h "$size" "$icons/scalable/apps/$id.svg" -o "$stage/svg-$size.png"
    differ=$(compare -metric AE "$png" "$stage/svg-$size.png" null: 2>&1)
    [ "$differ" = 0 ] || fail "$size px: $differ pixels differ from the SVG"
  fi
done

[ "$failures" -eq 0 ] && echo "all desktop files pass"
exit $((failures > 0))
