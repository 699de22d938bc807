// tarvan_bench [area ...]: runs the measures of the named areas, or of all.

#include "Measure.h"

#include <QApplication>
#include <QStringList>
#include <vector>

namespace {
std::vector<BenchArea *> &areas()
{
    static std::vector<BenchArea *> list;
    return list;
}
} // namespace

BenchArea::BenchArea(const char *areaName, void (*runner)()) : name(areaName), run(runner)
{
    areas().push_back(this);
}

int main(int argc, char **argv)
{
    // The repaint measures need a window; without a display it is drawn offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList wanted = app.arguments().mid(1);
    for (BenchArea *area : areas())
        if (wanted.isEmpty() || wanted.contains(QLatin1String(area->name)))
            area->run();
    return 0;
}
