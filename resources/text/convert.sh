#!/usr/bin/env bash
# Writes the program's text resources from their editable UTF-8 sources beside this script:
# messages.utf8.txt -> ../embedded/messages.txt (MESSAGES) and dailytext.utf8.txt ->
# ../embedded/dailytext.txt (DAILYTEXT), in CP932 with CR LF line ends, as the program
# reads every resource text. Commit both the source and the result.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for name in messages dailytext; do
  src="$here/$name.utf8.txt"
  out="$here/../embedded/$name.txt"
  # A line end already CR LF in the source stays one CR LF.
  sed -e 's/\r$//' -e 's/$/\r/' "$src" | iconv -f UTF-8 -t CP932 > "$out.tmp"
  # Every character must come back unchanged; iconv stops on one CP932 cannot hold.
  iconv -f CP932 -t UTF-8 "$out.tmp" | sed 's/\r$//' | cmp -s - <(sed 's/\r$//' "$src") ||
    { echo "$name: does not survive CP932" >&2; rm -f "$out.tmp"; exit 1; }
  mv "$out.tmp" "$out"
done
