#pragma once
// The window's member dialogs are shown without blocking the game loop: sized to what they hold
// now, and brought in front of the window.

#include <QDialog>

inline void bringUpMemberDialog(QDialog &dialog, bool activate = true)
{
    dialog.adjustSize();
    dialog.show();
    dialog.raise();
    if (activate)
        dialog.activateWindow();
}
