#!/bin/sh
# bagsolve under a file-size limit (ulimit -f): output past the limit fails with the program's
# message and status 1, instead of the process dying of SIGXFSZ.
set -u
bagsolve=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
{
  echo 2000; echo 1; echo 5
  i=1
  while [ "$i" -le 2000 ]; do echo "1,$i"; i=$((i + 1)); done
} > "$dir/problem.txt"
(ulimit -f 4 && exec "$bagsolve" "$dir/problem.txt" > "$dir/report.txt" 2> "$dir/error.txt")
status=$?
if [ "$status" -ne 1 ]; then
  echo "exit status $status, expected 1"; cat "$dir/error.txt"; exit 1
fi
if [ "$(cat "$dir/error.txt")" != "Cannot write to standard output." ]; then
  echo "unexpected message:"; cat "$dir/error.txt"; exit 1
fi
