#!/usr/bin/env bash
# Prints, per MIDI file, what "Best" engraves against MuseScore's own reading: LilyPond's failed
# bar checks, the share of notes that carry an accidental, and the pages of "Best" and of
# MuseScore's own PDF. A figure, never a pass or fail; see docs/performance.md.
#
#   bench/core/conversion/score_fidelity.sh build/src/cli/velmarto-cli [FILE.mid...]
#
# Without files it takes the openmsx set (Debian's openttd-openmsx, installed by install-deps).
set -euo pipefail
cli=$(realpath "$1")
shift
if [ "$#" -eq 0 ]; then
  set -- /usr/share/games/openttd/baseset/openmsx/*.mid
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
# Notes with an accidental among the notes with a pitch, in per cent.
accidentals() {
  awk '/<pitch>/ { pitched++ } /<accidental[ >]/ { marked++ }
       END { if (pitched) printf "%.1f %%", 100 * marked / pitched; else print "-" }' "$1"
}

echo "| file | failed bar checks | notes with accidentals: MuseScore / Best | pages: MuseScore / Best |"
echo "|---|---|---|---|"
for midi in "$@"; do
  name=$(basename "$midi" .mid)
  mscore3 -o "$work/$name.muse.musicxml" "$midi" >/dev/null 2>&1 || true
  mscore3 -o "$work/$name.muse.pdf" "$midi" >/dev/null 2>&1 || true
  "$cli" convert --log -o "$work/$name.pdf" --musicxml "$work/$name.musicxml" "$midi" \
    >"$work/$name.log" 2>&1 || true
  checks=$(grep -cE '^\S.*:[0-9]+:[0-9]+: warning: barcheck failed' "$work/$name.log" || true)
  echo "| $name | $checks | $(accidentals "$work/$name.muse.musicxml") / $(accidentals "$work/$name.musicxml") | $(pages "$work/$name.muse.pdf") / $(pages "$work/$name.pdf") |"
done
