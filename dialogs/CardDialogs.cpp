// The card trade-in dialog and the notice of a trade. The dialog offers the current player's
// card sets without blocking the game loop; a set button answers through the card slots, which
// trade the set in the turn flow. The notice shows who traded, the armies the set gave and the
// cards; the game loop closes it again (action step 4, message step 102).

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "app/ResourceNames.h"
#include "dialogs/MemberDialog.h"
#include "rules/Cards.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace {

// The cards of one kind in a notice overlap by all but this many pixels.
constexpr int kFanStep = 18;
// Picture labels of the notice: `cardTradeLabel` 3 to 7.
constexpr int kFirstPictureLabel = 3;
constexpr int kLastPictureLabel = 7;

struct KindCount {
    int kind;
    qint32 count;
    const char *word;
};

// The cards of a hand by kind, in the order the notices and the sets name them.
std::array<KindCount, 4> kindsOf(const CardHand &cards)
{
    return {{{CardArtillery, cards.artillery, "artillery"},
             {CardInfantry, cards.infantry, "infantry"},
             {CardCavalry, cards.cavalry, "cavalry"},
             {CardWild, cards.wild, "wild"}}};
}

// "15 armies: 2 infantry + 2 cavalry", the armies the set gives and the cards it takes.
QString cardSetText(const CardSet &set)
{
    QStringList cards;
    for (const KindCount &kind : kindsOf(set.handedIn))
        if (kind.count > 0)
            cards.append(QStringLiteral("%1 %2").arg(kind.count).arg(QLatin1String(kind.word)));
    return QStringLiteral("%1 armies: %2").arg(set.valueTraded).arg(cards.join(QStringLiteral(" + ")));
}

// `count` cards of one kind fanned out from left to right; null when the picture is missing.
QPixmap cardFan(int kind, int count)
{
    const QImage card(resources::cardPicturePath(kind));
    if (card.isNull() || count < 1)
        return QPixmap();
    const int shown = std::min(count, 12);
    QImage fan(card.width() + (shown - 1) * kFanStep, card.height(), QImage::Format_ARGB32_Premultiplied);
    fan.fill(Qt::transparent);
    QPainter painter(&fan);
    for (int i = 0; i < shown; ++i)
        painter.drawImage(i * kFanStep, 0, card);
    painter.end();
    return QPixmap::fromImage(fan);
}

// The dialog's question is over before the turn flow takes the answer, which may ask again.
void answerCardQuestion(void (*answer)())
{
    cardDialogOpen = 0;
    dialogOpen = 0;
    answer();
}

} // namespace

void ViewArea::showCardTradeDialog()
{
    const int sets = std::clamp(static_cast<int>(offeredCardSetCount), 0, kMaxOfferedCardSets);
    if (sets < 1)
        return;
    buildCardDialog();
    for (int n = 1; n <= kMaxOfferedCardSets; ++n) {
        cardSetButton[n]->setVisible(n <= sets);
        if (n <= sets)
            cardSetButton[n]->setText(cardSetText(offeredCardSets[n]));
    }
    // A trade that is due cannot be put off: the dialog opens again until a set is chosen.
    cardCancelButton->setEnabled(!cardTradeRequired);
    cardDialogOpen = 1;
    dialogOpen = 1;
    bringUpMemberDialog(*cardDialog);
}

void ViewArea::showCardTradeBonus()
{
    // The six values of the trade: artillery, infantry, cavalry, wild, armies, player.
    const int player = cardTradeValues[6];
    const CardHand cards{std::max(0, cardTradeValues[1]), std::max(0, cardTradeValues[2]),
                         std::max(0, cardTradeValues[3]), std::max(0, cardTradeValues[4])};
    buildCardTradeNotice();
    cardTradeLabel[1]->setText(isValidPlayer(player) ? playerName[player].trimmed() : QString());
    cardTradeLabel[2]->setText(QStringLiteral("gets %1 armies.").arg(cardTradeValues[5]));

    int label = kFirstPictureLabel;
    for (const KindCount &kind : kindsOf(cards)) {
        if (kind.count < 1 || label > kLastPictureLabel)
            continue;
        const QString words = QStringLiteral("%1 %2").arg(kind.count).arg(QLatin1String(kind.word));
        const QPixmap fan = cardFan(kind.kind, kind.count);
        if (fan.isNull())
            cardTradeLabel[label]->setText(words);
        else
            cardTradeLabel[label]->setPixmap(fan);
        cardTradeLabel[label]->setToolTip(words);
        cardTradeLabel[label]->show();
        ++label;
    }
    for (; label <= kLastPictureLabel; ++label) {
        cardTradeLabel[label]->clear();
        cardTradeLabel[label]->hide();
    }
    tradeNoticeShown = 1;
    // The notice only tells; the player's focus stays where it is.
    bringUpMemberDialog(*cardTradeNotice, false);
}

void ViewArea::kaartidlg1()
{
    answerCardQuestion(::kaartidlg1);
}

void ViewArea::kaartidlg2()
{
    answerCardQuestion(::kaartidlg2);
}

void ViewArea::kaartidlg3()
{
    answerCardQuestion(::kaartidlg3);
}

void ViewArea::kaartidlg4()
{
    answerCardQuestion(::kaartidlg4);
}

void ViewArea::kaartidlg5()
{
    answerCardQuestion(::kaartidlg5);
}

void ViewArea::kaartidlg6()
{
    answerCardQuestion(::kaartidlg6);
}

void ViewArea::kaartidlg0()
{
    // Refused while a trade is due: the turn flow beeps and opens the dialog again.
    answerCardQuestion(::kaartidlg0);
}
