#pragma once
// The game's sound effects, synthesised when the project is built: written to sounds/ in the
// run folder, where the game plays them from, and compiled in as copies.

class ArtOutput;

void writeSounds(ArtOutput &out);
