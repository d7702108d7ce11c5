#!/usr/bin/env bash
# Functions stay short enough to read at once: none of the plugin's or the companion's over 60 lines, none of
# the simulated host's over 80. Universal Ctags gives each definition's first and last line.
# Usage: check_function_lengths.sh ROOT
set -eu
root="$1"
ctags=$(command -v ctags-universal || command -v ctags) || { echo "universal-ctags is missing"; exit 1; }
status=0
for entry in src:60 companion:60 sim:80; do
  folder="${entry%%:*}"
  limit="${entry##*:}"
  over=$(cd "$root" && "$ctags" -R --languages=C++,C --kinds-C++=f --kinds-C=f --fields=+ne -o - "$folder" |
    awk -F'\t' -v limit="$limit" '{
      first = ""; last = ""
      for (i = 4; i <= NF; ++i) {
        if ($i ~ /^line:/) first = substr($i, 6)
        if ($i ~ /^end:/) last = substr($i, 5)
      }
      if (first != "" && last != "" && last - first + 1 > limit)
        printf "%s:%s: %s is %d lines, over %d\n", $2, first, $1, last - first + 1, limit
    }' | sort)
  if [ -n "$over" ]; then
    echo "$over"
    status=1
  fi
done
[ $status -eq 0 ] && echo "every function of src/ and companion/ is within 60 lines, of sim/ within 80"
exit $status
