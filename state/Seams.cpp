#include "state/Seams.h"

#include <QRandomGenerator>

void RandomSource::seed(quint32 value)
{
    engine_.seed(value);
}

int RandomSource::below(int n)
{
    if (n < 1)
        return 0;
    // Rejection sampling rather than std::uniform_int_distribution: the same seed must give the
    // same game with every standard library.
    const quint32 range = static_cast<quint32>(n);
    const quint32 limit = 0xffffffffu - (0xffffffffu % range);
    quint32 value;
    do {
        value = static_cast<quint32>(engine_());
    } while (value >= limit);
    return static_cast<int>(value % range);
}

int RandomSource::between(int low, int high)
{
    if (high < low)
        return low;
    return low + below(high - low + 1);
}

RandomSource &randomSource()
{
    static RandomSource source;
    return source;
}

void seedRandomSourceFromSystem()
{
    randomSource().seed(QRandomGenerator::system()->generate());
}

void Interaction::message(MessageIcon, const QString &, const QString &) {}
bool Interaction::question(const QString &, const QString &, MessageIcon) { return false; }
int Interaction::choose(const QString &, const QString &, const QStringList &, MessageIcon) { return 0; }
void Interaction::beep() {}
QString Interaction::openFileName(const QString &, const QString &, const QString &) { return {}; }
QString Interaction::saveFileName(const QString &, const QString &, const QString &) { return {}; }
void Interaction::pause(int) {}
void Interaction::statusChanged() {}
void Interaction::playSoundFile(const QString &) {}
QDateTime Interaction::now() { return QDateTime::currentDateTime(); }
void Interaction::showCardTradeDialog() {}
void Interaction::showCardTradeBonus() {}

namespace {
Interaction silentInteraction;
Interaction *currentInteraction = &silentInteraction;
} // namespace

Interaction &interaction()
{
    return *currentInteraction;
}

void setInteraction(Interaction *replacement)
{
    currentInteraction = replacement ? replacement : &silentInteraction;
}

void showErrorBox(const QString &text)
{
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"), text);
}

void (*networkUpdateSender)(int code) = nullptr;
