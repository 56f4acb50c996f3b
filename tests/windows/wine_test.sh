#!/usr/bin/env bash
# bagsolve.exe from the Windows zip, run under Wine, against the Linux bagsolve: every case runs
# both programs with the same arguments and standard input in the same folder, and their
# standard output, standard error and exit status must be the same bytes. Before that, the zip
# must hold its four files and the exe load nothing but Windows' own DLLs; after it, a console
# (a pseudo-terminal, so that Wine gives the program one) must show GBK output as the text.
#   tests/windows/wine_test.sh LINUX_BAGSOLVE ZIP
# Wine runs in a prefix of its own, made here and removed at the end; its ANSI code page is
# 1252, so a file name in Chinese opens only through the wide-character calls.
set -euo pipefail

linux=$(readlink -f "$1")
zip=$(readlink -f "$2")
wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=$(dirname "$(readlink -f "$wine")")/wineserver
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The zip: one folder with the program, the licence, the README and the sample.
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
folder=$(basename "$zip" .zip)
listing=$(cd "$work/unpacked" && find . -type f | sort | tr '\n' ' ')
expected="./$folder/COPYRIGHT.txt ./$folder/README.txt ./$folder/bagsolve.exe ./$folder/sample.txt "
[ "$listing" = "$expected" ] || fail "the zip holds: $listing"
exe=$work/unpacked/$folder/bagsolve.exe

# Only DLLs that come with Windows: no C++ runtime, libgcc or winpthread beside the exe.
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "DLLs: $(echo "$dlls" | tr '\n' ' ')"
while read -r dll; do
  echo "$dll" | grep -E -i -q '^(kernel32|msvcrt|user32|advapi32|shell32|ws2_32|ucrtbase|api-ms-win-.*)\.dll$' ||
    fail "bagsolve.exe needs $dll"
done <<<"$dlls"

# The server stays up for all the cases; the first start makes the prefix.
start=$(date +%s)
mkdir "$WINEPREFIX"
"$wineserver" -p
"$wine" wineboot -i >/dev/null 2>&1
echo "Wine prefix ready in $(($(date +%s) - start)) s"
start=$(date +%s)

# The inputs, in the folder both programs run in (relative paths: messages name them alike).
cases=$work/cases
out=$work/out
mkdir "$cases" "$out" "$cases/folder"
cp "$work/unpacked/$folder/sample.txt" "$cases/sample.txt"
tr -d '\r' <"$cases/sample.txt" >"$cases/lf.txt"
printf '4\r3\n8\r\n1,22\n3,4\r5,6\n7,8' >"$cases/mixed.txt"
cp "$cases/sample.txt" "$cases/背包问题.txt"
cp "$cases/sample.txt" "$cases/--variant"
cp "$cases/sample.txt" "$cases/two words.txt"
cp "$cases/sample.txt" "$cases/𝄞 clef.txt"
: >"$cases/empty.txt"
printf '4\r\n3 \r\n8\r\n' >"$cases/badheader.txt"
printf '4\r\n\xcf\xee\r\n' >"$cases/gbkword.txt"
printf '\xff\xfe4\0\r\0\n\0\x79\x98' >"$cases/utf16.txt"
printf '\x1b]0;owned\x07\x1b[2J\r\n' >"$cases/control.txt"
printf '2\0001' >"$cases/nul.txt"
printf '10000\r\n1\r\n1\r\n' >"$cases/toomany.txt"
printf '2\r\n2\r\n2147483647\r\n2147483647,10\r\n2,9\r\n' >"$cases/wrapping.txt"
printf '2\r\n2\r\n-1\r\n1,5\r\n2,6\r\n' >"$cases/nofit.txt"
printf '3\r\n3\r\n10\r\n1,2147483647\r\n1,2147483647\r\n1,2147483647\r\n' >"$cases/large.txt"
# A problem with some search in it: 60 items, weights and values from a fixed linear
# congruential sequence, a third of the total weight, at most 25 items.
awk 'BEGIN { n = 60; x = 21; printf "%d\r\n25\r\n10000\r\n", n
             for (i = 0; i < n; i++) { x = (x * 1103515245 + 12345) % 2147483648; w = 100 + x % 900
                                       x = (x * 1103515245 + 12345) % 2147483648; v = w + x % 200 - 100
                                       printf "%d,%d\r\n", w, v } }' >"$cases/sixty.txt"
# The input limit, 16 MiB, and one byte more.
head -c $((16 * 1024 * 1024)) /dev/zero | tr '\0' ' ' >"$cases/limit.txt"
cp "$cases/sample.txt" "$cases/limit-ok.txt"
head -c $((16 * 1024 * 1024 - $(stat -c %s "$cases/sample.txt"))) "$cases/limit.txt" >>"$cases/limit-ok.txt"
cp "$cases/limit-ok.txt" "$cases/limit-over.txt"
printf ' ' >>"$cases/limit-over.txt"

# The best packing's JSON says how long it took; that alone may differ.
timeless() { sed -E 's/"seconds":[0-9]+\.[0-9]{6}/"seconds":-/g' "$1"; }

# One case: NAME STDIN ARGS...; STDIN is a file in the cases folder or /dev/null.
cases_run=0
check() {
  local name=$1 input=$2
  shift 2
  local l=$out/$name.linux w=$out/$name.windows lrc=0 wrc=0
  (cd "$cases" && "$linux" "$@" <"$input" >"$l.out" 2>"$l.err") || lrc=$?
  (cd "$cases" && "$wine" "$exe" "$@" <"$input" >"$w.out" 2>"$w.err") || wrc=$?
  cases_run=$((cases_run + 1))
  [ "$lrc" = "$wrc" ] || fail "$name: exit status $wrc, on Linux $lrc"
  local stream
  for stream in out err; do
    if ! cmp -s <(timeless "$l.$stream") <(timeless "$w.$stream"); then
      fail "$name: standard $stream differs (- Linux, + Windows)"
      diff -a -u --label linux --label windows <(timeless "$l.$stream") <(timeless "$w.$stream") |
        head -n 30 || true
    fi
  done
}

check SampleFile /dev/null sample.txt
check StandardInput sample.txt
check DashIsStandardInput sample.txt -
check LineFeedsOnly lf.txt
check LoneCrAndLoneLf mixed.txt
check ChineseFileName /dev/null --variant max 背包问题.txt
check ChineseFileNameGbk /dev/null --encoding gbk 背包问题.txt
check DoubleDashEndsOptions /dev/null -- --variant
# The arguments as given: Windows hands a program one command line, which the C runtime splits.
check SpaceInFileName /dev/null --variant max1 "two words.txt"
check CharacterPastUtf16Unit /dev/null "𝄞 clef.txt"
check WildcardIsNoPattern /dev/null "s*.txt"
check QuotesInArgument sample.txt '--encoding=a"b \" c'
for variant in solve max max1 best; do
  check "Variant_$variant" /dev/null --variant "$variant" sample.txt
  check "Variant_${variant}_Gbk" lf.txt --variant="$variant" --encoding gbk
  check "Variant_${variant}_Sixty" sixty.txt --variant "$variant" --time-limit 0
done
check EncodingUpperCase sample.txt --encoding GBK
check EncodingCp936 sample.txt --encoding=cp936
check Compare /dev/null --compare sample.txt
check CompareGbk sixty.txt --compare --time-limit 0 --encoding gbk
check CompareShareAbove100 wrapping.txt --compare
check CompareNoFeasiblePick nofit.txt --compare
check BestNoFeasiblePick nofit.txt --variant best
check BestTotalsPast32Bits large.txt --variant best --time-limit=2.5
check JsonSearch /dev/null --json --variant max sample.txt
check JsonBest sixty.txt --json --variant best --time-limit 0
check JsonCompare /dev/null --json --compare sample.txt
check JsonBadLine badheader.txt --json --variant best
check BadHeaderKeepsEarlierLines badheader.txt
check BadHeaderGbk badheader.txt --encoding gbk
check EmptyInput empty.txt
check GbkWordQuotedInUtf8 gbkword.txt
check GbkWordQuotedInGbk gbkword.txt --encoding gbk
check Utf16Input utf16.txt
check ControlCharactersEscaped control.txt
check NulInsideLine nul.txt
check TooManyItems toomany.txt --variant max
check MissingFile /dev/null missing.txt
check MissingChineseFile /dev/null 不存在的问题.txt
check MissingChineseFileGbk /dev/null --encoding gbk 不存在的问题.txt
check FolderIsNoFile /dev/null folder
check InputAtTheLimit limit-ok.txt
check InputOverTheLimit limit-over.txt
check FileOverTheLimit /dev/null limit-over.txt
check Help /dev/null --help
check HelpShort /dev/null -h
check Version /dev/null --version
check UnknownOption sample.txt --fast
check UnknownOptionChinese sample.txt --快
check UnknownVariant sample.txt --variant fastest
check UnknownEncodingAfterGbk sample.txt --encoding gbk --encoding=latin1
check CompareWithVariant sample.txt --compare --variant best
check TimeLimitNegative sample.txt --time-limit -1
check TimeLimitWithoutValue sample.txt --time-limit
check TwoFiles /dev/null sample.txt sample.txt

# A console: standard output and standard error on a pseudo-terminal. GBK bytes written as
# they are would show as other characters under the console's code page 437; written through
# the console's wide calls they read as the UTF-8 text.
console() {
  local line
  printf -v line '%q ' "$wine" "$exe" "$@"
  # The exit status is not what this compares.
  { (cd "$cases" && script -qec "$line" /dev/null </dev/null) || true; } |
    sed -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\r//g'
}
for args in "--encoding gbk sample.txt" "--variant max sample.txt" "--encoding gbk gbkword.txt"; do
  # shellcheck disable=SC2086
  expected=$(cd "$cases" && "$linux" ${args/--encoding gbk/} 2>&1 || true)
  # shellcheck disable=SC2086
  shown=$(console $args)
  cases_run=$((cases_run + 1))
  if [ "$shown" != "$expected" ]; then
    fail "console, $args: shows other text (- expected, + shown)"
    diff -u --label expected --label shown <(echo "$expected") <(echo "$shown") | head -n 30 || true
  fi
done

echo "$cases_run cases in $(($(date +%s) - start)) s, $failures failed"
[ "$failures" -eq 0 ]
