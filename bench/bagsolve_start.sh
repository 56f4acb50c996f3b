#!/usr/bin/env bash
# How long bagsolve takes on the sample problem, start to exit, against cat reading the same
# file in the same hyperfine run: a script that runs bagsolve once per file should pay no more
# than it pays for a system tool. The target is a mean wall time within twice cat's.
#   bench/bagsolve_start.sh BAGSOLVE SAMPLE
set -euo pipefail
bagsolve=$1 sample=$2
report=$(mktemp) notes=$(mktemp)
trap 'rm -f "$report" "$notes"' EXIT
# hyperfine's remarks on outliers are noise here (the mean is what counts); shown only when it fails.
hyperfine --shell=none --warmup 50 --runs 1000 --export-json "$report" \
  "cat $sample" "$bagsolve $sample" >/dev/null 2>"$notes" || { cat "$notes" >&2; exit 1; }
# The figures of the n-th command of the run (1: cat, 2: bagsolve), in milliseconds.
figures() {
  python3 - "$report" "$1" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"][int(sys.argv[2]) - 1]
print(f'{r["mean"] * 1000:.2f} {r["user"] * 1000:.2f} {r["system"] * 1000:.2f}')
PY
}
read -r cat_mean cat_user cat_sys <<<"$(figures 1)"
read -r mean user sys <<<"$(figures 2)"
awk -v mean="$mean" -v user="$user" -v sys="$sys" -v cmean="$cat_mean" -v cuser="$cat_user" \
    -v csys="$cat_sys" 'BEGIN {
  printf "bagsolve on the sample: %.2f ms (user %.2f, system %.2f); cat: %.2f ms (user %.2f, system %.2f); %.1fx cat over 1000 runs; target within 2x: %s\n",
    mean, user, sys, cmean, cuser, csys, mean / cmean, mean <= 2 * cmean ? "met" : "MISSED"
  exit mean <= 2 * cmean ? 0 : 1
}'
