#!/usr/bin/env bash
# pomeli2-build beside its floor: copying its own output to a new file and
# syncing it (cp + sync), at 1,000, 10,000 and 17,000 items, interleaved,
# with the medians of 7 runs, the tool's peak memory, and how the time per
# item at 10,000 compares with that at 1,000. Then the same at 17,000 items
# for the HTML5 page, and for a project that uses every kind of item (image
# titles, item icons, other-window and leave-frames buttons, long titles,
# colours, styles and sizes, parent links and the closing script) in the
# legacy mode and in HTML5 with every page setting of its own.
#   bench/build_floor.sh PATH/TO/pomeli2-build
set -euo pipefail
tool="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A project of n items: top-level branches of ten items in three levels;
# with "every", items of every kind.
project() {
  local n="$1" out="$2" browser="${3:-IE4-5, NN4, NN6}" every="${4:-}"
  awk -v n="$n" -v browser="$browser" -v every="$every" 'BEGIN {
    printf "[Title]\tBench\r\n[Browser]\t%s\r\n", browser;
    if (every) {
      printf "[TextBackOn]\t1\r\n[ParentLink]\t1\r\n[Linkto]\t\r\n[CloseItems]\t1\r\n[CloseTree]\t1\r\n";
      printf "[BodyHover]\t#990000\r\n[BodyHoverBack]\t#FFFFCC\r\n[Filter]\t1\r\n[Dark]\t1\r\n[Lang]\ten\r\n";
    }
    printf "0\troot\t#8080FF\tNone\t1\t10pt\t\t0\tFrame2\t\t0\r\n";
    split("#FFFFFF #FFFFCC #CCFFFF #FFCCCC", colours, " ");
    split("None Bold Italic Bold&Italic", styles, " ");
    split("10pt 12pt 9pt 1.2em", sizes, " ");
    long = "";
    for (k = 0; k < 12; k++) long = long "a rather long title of many words ";
    for (i = 1; i < n; i++) {
      d = (i - 1) % 10 == 0 ? 1 : (i % 10 < 5 ? 2 : 3);
      if (!every) {
        printf "%d\titem %d\t#FFFFFF\tNone\t1\t10pt\tp%d.html\t0\tFrame2\tlinkto.gif\t0\r\n", d, i, i;
        continue;
      }
      k = i % 4;
      title = i % 7 == 0 ? "file:img/t" (i % 30) ".gif:item " i : i % 11 == 0 ? long i : "<b>item</b> " i;
      printf "%d\t%s\t%s\t%s\t1\t%s\tdir/p%d.html?x=%d\t%d\tFrame2\timg/i%d.gif\t%d\r\n",
             d, title, colours[k + 1], styles[k + 1], sizes[k + 1], i, i, i % 3, i % 20, i % 13 == 1;
    }
  }' > "$out"
}

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for size in 1000 10000 17000 17000-html5 17000-every 17000-every-html5; do
  n="${size%%-*}"
  browser="IE4-5, NN4, NN6"
  case "$size" in *html5) browser=HTML5 ;; esac
  case "$size" in *every*) project "$n" "$work/menu.pml" "$browser" every ;; *) project "$n" "$work/menu.pml" "$browser" ;; esac
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
