#pragma once
// The pictures of the interface: menu strips, rank insignia, card pictures and the sprite strips
// of the animations, all drawn here when the project is built.

class ArtOutput;

void writeInterfaceArt(ArtOutput &out);
