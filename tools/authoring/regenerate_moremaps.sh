#!/bin/sh
# Writes the sources of Swamp, Real World, Scandinavia, Great Britain, Worms and the two Three
# Nations maps (state/BuiltinMap*.cpp) and the hand-drawn land of the geographic ones
# (tools/artgen/*Outline.cpp) from their authoring scripts. Each script checks its map and
# writes nothing when a rule does not hold. Run from anywhere; needs Python 3 only.
set -e
here=$(cd "$(dirname "$0")" && pwd)
state="$here/../../state"
artgen="$here/../artgen"
cd "$here"
python3 moremaps_swamp.py "$state/BuiltinMapSwamp.cpp"
python3 moremaps_worms.py "$state/BuiltinMapWorms.cpp"
python3 moremaps_threenations1.py "$state/BuiltinMapThreeNations1.cpp"
python3 moremaps_threenations2.py "$state/BuiltinMapThreeNations2.cpp"
python3 moremaps_greatbritain.py "$state/BuiltinMapGreatBritain.cpp" "$artgen/GreatBritainOutline.cpp"
python3 moremaps_scandinavia.py "$state/BuiltinMapScandinavia.cpp" "$artgen/ScandinaviaOutline.cpp"
python3 moremaps_realworld.py "$state/BuiltinMapRealWorld.cpp" "$artgen/RealWorldOutline.cpp"
