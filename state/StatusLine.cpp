#include "state/StatusLine.h"

#include "state/Seams.h"

QString statusText;
QString statusLine;
QString statusText2;

void setStatusText(const QString &text)
{
    statusText = text;
    statusLine = text;
    interaction().statusChanged();
}

void setStatusText2(const QString &text)
{
    statusText2 = text;
    interaction().statusChanged();
}

void resetStatusLine()
{
    statusText = statusLine = statusText2 = QStringLiteral(" ");
}
