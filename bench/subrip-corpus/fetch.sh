#!/bin/sh
# Fetches the SubRip files of other projects' test data named in manifest.tsv
# (repository, commit, path) into a folder, by their raw GitHub addresses, and
# checks each against its SHA-1. The files stay out of this repository: their
# licences differ. Not run by the tests.
#   bench/subrip-corpus/fetch.sh [FOLDER]      (default ~/.cache/orlisk-srt-corpus)
set -eu
here=$(dirname "$0")
target=${1:-$HOME/.cache/orlisk-srt-corpus}
failed=0
while IFS="$(printf '\t')" read -r repo commit path charset sha1; do
  case $repo in '#'*) continue ;; esac
  out="$target/$(echo "$repo" | tr / +)/$path"
  if [ -f "$out" ] && [ "$(sha1sum "$out" | cut -d' ' -f1)" = "$sha1" ]; then continue; fi
  mkdir -p "$(dirname "$out")"
  url="https://raw.githubusercontent.com/$repo/$commit/$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$path")"
  if ! curl -fsSL -o "$out" "$url" || [ "$(sha1sum "$out" | cut -d' ' -f1)" != "$sha1" ]; then
    echo "not fetched: $repo $path" >&2
    failed=1
  fi
done < "$here/manifest.tsv"
echo "$target"
exit $failed
