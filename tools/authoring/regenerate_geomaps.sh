#!/bin/sh
# Writes the sources of Europe, North America, China, Japan, Australia and World II
# (state/BuiltinMap*.cpp) and the hand-drawn land of the first five (tools/artgen/*Outline.cpp)
# from their authoring scripts. Each script checks its map and writes nothing when a rule does
# not hold. Run from anywhere; needs Python 3 only.
set -e
here=$(cd "$(dirname "$0")" && pwd)
state="$here/../../state"
artgen="$here/../artgen"
cd "$here"
for pair in europe:Europe northamerica:NorthAmerica china:China japan:Japan australia:Australia \
            worldii:WorldII; do
    script=${pair%%:*}
    name=${pair#*:}
    outline=
    [ "$name" = WorldII ] || outline="$artgen/${name}Outline.cpp.new"
    python3 "geomap_$script.py" $outline > "$state/BuiltinMap$name.cpp.new" 2>/dev/null || {
        rm -f "$state/BuiltinMap$name.cpp.new" "$artgen/${name}Outline.cpp.new"
        echo "geomap_$script.py failed its checks" >&2
        exit 1
    }
    mv "$state/BuiltinMap$name.cpp.new" "$state/BuiltinMap$name.cpp"
    [ -z "$outline" ] || mv "$outline" "$artgen/${name}Outline.cpp"
done
