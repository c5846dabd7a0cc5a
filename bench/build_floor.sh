#!/usr/bin/env bash
# pomeli2-build beside its floor: copying its own output to a new file and
# syncing it (cp + sync), at 1,000 and 17,000 items, interleaved, with the
# medians of 7 runs and the tool's peak memory.
#   bench/build_floor.sh PATH/TO/pomeli2-build
set -euo pipefail
tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A project of n items: top-level branches of ten items in three levels.
project() {
  local n="$1" out="$2"
  awk -v n="$n" 'BEGIN {
    printf "[Title]\tBench\r\n[Browser]\tIE4-5, NN4, NN6\r\n0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
    for (i = 1; i < n; i++) {
      d = (i - 1) % 10 == 0 ? 1 : (i % 10 < 5 ? 2 : 3);
      printf "%d\titem %d\t#FFFFFF\tNone\t1\t10pt\tp%d.html\t0\tFrame2\tlinkto.gif\t0\r\n", d, i, i;
    }
  }' > "$out"
}

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for n in 1000 17000; do
  project "$n" "$work/menu.pml"
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
  awk -v n="$n" -v t="$tool_us" -v c="$copy_us" -v m="$peak_kb" -v p="$page_kb" 'BEGIN {
    printf "%6d items: pomeli2-build %8.1f ms, cp + sync %8.1f ms, ratio %.2f; page %d KiB, peak memory %d KiB\n",
           n, t / 1000, c / 1000, t / c, p, m }'
done
