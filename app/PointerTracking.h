#pragma once
// Pointer tracking: a drag with the left button held swipes the enlarged map; without a button
// the side-menu button under the pointer is highlighted.

// A held move to (x, y). Returns true when a swipe was recognised and the window must repaint.
bool trackDrag(int x, int y);

struct MenuButtonHit {
    int button = 0; // 0: no button
    int rowTop = 0;
};
// The side-menu button of the current screen under (x, y), from the layout the paint handler
// left; bounds are strict, so a point on a border hits nothing.
MenuButtonHit sideMenuButtonAt(int x, int y);
// The status bar's Cards button (id 9999) holds (x, y).
bool barButtonContains(int x, int y);
// A button may be highlighted now (a disabled in-game button still counts as under the pointer).
bool buttonHighlightable(int button);

// A move without a button to window pixel (x, y); `clickX`, `clickY` get the position with the
// map offset taken off. Returns true when the window must repaint.
bool trackHover(int x, int y, int &clickX, int &clickY);
