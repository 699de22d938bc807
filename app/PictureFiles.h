#pragma once
// Reading the game's pictures. They are PNG files, read with the PNG reader alone: left to find
// a reader itself, Qt first loads every image-format plugin it has (and the libraries behind
// them) to ask each whether it reads PNG.

#include <QImage>

// The picture at `path`; a file that turns out not to be PNG is read by whichever reader fits.
QImage readPicture(const QString &path);
