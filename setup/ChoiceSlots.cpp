// The window's slots that answer the set-up's dialogs: each stores one number, or clears a flag.

#include "app/ViewArea.h"

#include "app/DialogState.h"

void ViewArea::mplaykeuze1() { dialogChoice = 1; }
void ViewArea::mplaykeuze2() { dialogChoice = 2; }
void ViewArea::mplaykeuze3() { dialogChoice = 3; }
void ViewArea::mplaykeuze4() { dialogChoice = 4; }
void ViewArea::mplaykeuze5() { dialogChoice = 5; }
void ViewArea::mplaykeuze6() { dialogChoice = 6; }
void ViewArea::mplaykeuze7() { dialogChoice = 7; }
void ViewArea::mplaykeuze8() { dialogChoice = 8; }
void ViewArea::mplaykeuze9() { dialogChoice = 9; }
void ViewArea::mplaykeuze10() { dialogChoice = 10; }
void ViewArea::mplaykeuze11() { dialogChoice = 11; }
// The online game list's Refresh: its Join button only accepts, so 1 tells the two apart.
void ViewArea::mplayrefresh() { dialogChoice = 1; }

// A member dialog shown without blocking was closed.
void ViewArea::modaaluit() { dialogOpen = 0; }
