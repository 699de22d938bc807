#pragma once
// The prompt and the two lines painted in the status bar under the map.

#include <QString>

extern QString statusText;  // the current prompt
extern QString statusLine;  // the line painted under the map
extern QString statusText2; // the second status text

void setStatusText(const QString &text);
void setStatusText2(const QString &text);
void resetStatusLine();
