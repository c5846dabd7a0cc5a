#!/usr/bin/env bash
# pomeli2-build --site beside its floor: a site of 1,000 pages in ten
# folders, each page holding the marker, and a menu of 1,000 items linking
# to them; the tool puts the menu into a fresh copy of the site, against
# copying the site (cp -r) and syncing it, interleaved, medians of 7 runs.
#   bench/site_floor.sh PATH/TO/pomeli2-build
set -euo pipefail
tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/site"
awk -v out="$work" 'BEGIN {
  body = "";
  for (k = 0; k < 40; k++) body = body "<p>Some text of the page, a paragraph of about a line or two in length.</p>\n";
  printf "[Title]\tBench\r\n[Browser]\tHTML5\r\n[ParentLink]\t1\r\n[Filter]\t1\r\n" > (out "/menu.pml");
  printf "0\troot\t#FFFFFF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n" > (out "/menu.pml");
  for (i = 1; i <= 1000; i++) {
    folder = "f" int((i - 1) / 100);
    if ((i - 1) % 100 == 0) system("mkdir -p " out "/site/" folder "/sub");
    page = folder "/" ((i % 2) ? "" : "sub/") "p" i ".html";
    d = (i - 1) % 10 == 0 ? 1 : (i % 10 < 5 ? 2 : 3);
    printf "%d\titem %d\t#FFFFFF\tNone\t1\t10pt\t%s\t0\tFrame2\tlinkto.gif\t0\r\n", d, i, page > (out "/menu.pml");
    printf "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Page %d</title>\n</head>\n<body>\n<nav id=\"pomeli2-menu\"></nav>\n<main>\n%s</main>\n</body>\n</html>\n", i, body > (out "/site/" page);
    close(out "/site/" page);
  }
}'

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
tool_times=() copy_times=()
for run in 1 2 3 4 5 6 7; do
  rm -rf "$work/copy" "$work/built"
  t0=$(now); cp -r "$work/site" "$work/copy"; sync; t1=$(now)
  copy_times+=($(( (t1 - t0) / 1000 )))
  cp -r "$work/site" "$work/built"; sync
  t0=$(now); "$tool" "$work/menu.pml" --site "$work/built" -o "$work/built/menu.html" >/dev/null; t1=$(now)
  tool_times+=($(( (t1 - t0) / 1000 )))
done
tool_us=$(printf '%s\n' "${tool_times[@]}" | median)
copy_us=$(printf '%s\n' "${copy_times[@]}" | median)
pages=$(grep -rl 'class="pomeli2-path"' "$work/built" | wc -l)
script_kb=$(( $(stat -c %s "$work/built/pomeli2/menu.js") / 1024 ))
awk -v t="$tool_us" -v c="$copy_us" -v p="$pages" -v s="$script_kb" 'BEGIN {
  printf "1,000 pages, 1,000 items: pomeli2-build --site %.1f ms, cp -r + sync %.1f ms, ratio %.2f; %d pages with the path, script %d KiB\n",
         t / 1000, c / 1000, t / c, p, s }'
