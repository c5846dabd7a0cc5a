#!/usr/bin/env bash
# pomeli2-build beside its floor: copying its own output to a new file and
# syncing it (cp + sync), at 1,000, 10,000 and 17,000 items, interleaved,
# with the medians of 7 runs, the tool's peak memory, and how the time per
# item at 10,000 compares with that at 1,000. The last line does the same
# for an HTML5 page of 17,000 items.
#   bench/build_floor.sh PATH/TO/pomeli2-build
set -euo pipefail
tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A project of n items: top-level branches of ten items in three levels.
project() {
  local n="$1" out="$2" browser="${3:-IE4-5, NN4, NN6}"
  awk -v n="$n" -v browser="$browser" 'BEGIN {
    printf "[Title]\tBench\r\n[Browser]\t%s\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n", browser;
    for (i = 1; i < n; i++) {
      d = (i - 1) % 10 == 0 ? 1 : (i % 10 < 5 ? 2 : 3);
      printf "%d\titem %d\t#FFFFFF\tNone\t1\t10pt\tp%d.html\t0\tFrame2\tlinkto.gif\t0\r\n", d, i, i;
    }
  }' > "$out"
}

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for size in 1000 10000 17000 17000-html5; do
  n="${size%-html5}"
  if [ "$n" = "$size" ]; then project "$n" "$work/menu.pml"; else project "$n" "$work/menu.pml" HTML5; fi
  "$tool" "$work/menu.pml" -o "$work/menu.html" >/dev/null
  tool_times=() copy_times=()
  for run in 1 2 3 4 5 6 7; do
    t0=$(now); "$tool" "$work/menu.pml" -o "$work/menu.html" >/dev/null; t1=$(now)
    tool_times+=($(( (t1 - t0) / 1000 )))
    rm -f "$work/copy.html"
    t0=$(now); cp "$work/menu.html" "$work/copy.html"; sync "$work/copy.html"; t1=$(now)
    copy_times+=($(( (t1 - t0) / 1000 )))
  done
  tool_us=$(printf '%s\n' "${tool_times[@]}" | median)
  copy_us=$(printf '%s\n' "${copy_times[@]}" | median)
  peak_kb=$(/usr/bin/time -f %M "$tool" "$work/menu.pml" -o "$work/menu.html" 2>&1 >/dev/null | tail -n 1)
  page_kb=$(( $(stat -c %s "$work/menu.html") / 1024 ))
  awk -v size="$size" -v t="$tool_us" -v c="$copy_us" -v m="$peak_kb" -v p="$page_kb" 'BEGIN {
    printf "%12s items: pomeli2-build %8.1f ms, cp + sync %8.1f ms, ratio %.2f; page %d KiB, peak memory %d KiB\n",
           size, t / 1000, c / 1000, t / c, p, m }'
  case "$n" in 1000) per_item_1k=$(( tool_us * 10 )) ;; 10000) per_item_10k=$tool_us ;; esac
  if [ "$size" = 10000 ]; then
    awk -v a="$per_item_1k" -v b="$per_item_10k" 'BEGIN { printf "time per item, 10,000 against 1,000: %.2f\n", b / a }'
  fi
done
