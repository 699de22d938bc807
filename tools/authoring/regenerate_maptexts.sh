#!/bin/sh
# Writes the map-text sources in maps/ from their authoring scripts (each checks its map and
# stops without output when a figure does not hold). Run from anywhere; needs Python 3 only.
set -e
here=$(cd "$(dirname "$0")" && pwd)
maps="$here/../../maps"
for pair in e2:E2 romania:Romania 107:107 lines:Lines rings:Rings russia:Russia \
            hexgonecrazy:HexGoneCrazy justneedtwo:JustNeedTwo france:France ok83:OK83 \
            neighbourhood:Neighbourhood coconutz:Coconutz worldii:WorldII ireland:Ireland \
            parisbynight:ParisByNight; do
    script=${pair%%:*}
    name=${pair#*:}
    (
        python3 "$here/maptext_$script.py" > "$maps/MapText$name.cpp.new" &&
        mv "$maps/MapText$name.cpp.new" "$maps/MapText$name.cpp"
    ) &
done
wait
for f in "$maps"/MapText*.cpp.new; do
    [ -e "$f" ] || continue
    rm -f "$f"
    echo "a map text failed its checks: $f" >&2
    exit 1
done
