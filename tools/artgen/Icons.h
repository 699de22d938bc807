#pragma once

#include <QImage>

// The program's icon: a banner on a hill.
QImage drawProgramIcon(int size);
