#pragma once

class QWidget;

// A frameless window asks to be maximised, but without a window manager (a bare X server) the
// request is ignored: give the window the whole available area of its screen itself.
void fillAvailableScreen(QWidget &window);
