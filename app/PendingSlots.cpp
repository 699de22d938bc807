// The window's slots whose behaviour belongs to later work (network play, the set-up flow, the
// dialogs, the card trade). Each does now only what the window itself relies on; the work that
// owns a group replaces that group.

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "rules/TurnFlow.h"

#include <QComboBox>
#include <QDialog>

#include <QNetworkReply>

// ---- Network play ----
void ViewArea::OnAccept() {}
void ViewArea::OnReceive() {}
void ViewArea::onReceiveFrom(int socketIndex)
{
    receivingSocketIndex = socketIndex;
    OnReceive();
}
void ViewArea::OnReceive1() { onReceiveFrom(1); }
void ViewArea::OnReceive2() { onReceiveFrom(2); }
void ViewArea::OnReceive3() { onReceiveFrom(3); }
void ViewArea::OnReceive4() { onReceiveFrom(4); }
void ViewArea::finishedSlot(QNetworkReply *reply)
{
    if (reply)
        reply->deleteLater();
}
void ViewArea::finishedSlotT5(QNetworkReply *reply)
{
    if (reply)
        reply->deleteLater();
}
void ViewArea::uploadDone() {}
void ViewArea::uploadDoneT5() {}
void ViewArea::writeStateSnapshot() {}

// ---- Set-up flow ----
void ViewArea::soundsettFinished() {}
void ViewArea::persondlgFinished() {}
void ViewArea::hostingsettFinished() {}
void ViewArea::persresetten() {}
void ViewArea::persinfo() {}
void ViewArea::whatismyip() {}
void ViewArea::portforward() {}
void ViewArea::ainamerej()
{
    if (aiNamesDialog)
        aiNamesDialog->done(2);
}
void ViewArea::mvwebsite() {}
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
void ViewArea::opties1info() {}
void ViewArea::opties1info1() {}
void ViewArea::opties1info2() {}
void ViewArea::opties1info3() {}
void ViewArea::missioninfo1() {}
void ViewArea::mplayinfo1() {}
void ViewArea::mplayrefresh() { dialogChoice = 1; }
void ViewArea::modaaluit() {}

// ---- Dialogs ----
void ViewArea::ainameresdef() {}
void ViewArea::ainamen() {}
void ViewArea::ainamen2() {}
void ViewArea::gzendstr() { chatOutgoing = chatInput; }
void ViewArea::legerdlg0() { applyArmyCount(0); }
void ViewArea::legerdlg1() { applyArmyCount(1); }
void ViewArea::legerdlg2() { applyArmyCount(2); }
void ViewArea::legerdlg3() { applyArmyCount(3); }
void ViewArea::legerdlg4() { applyArmyCount(4); }
void ViewArea::legerdlg5() { applyArmyCount(5); }
void ViewArea::legerdlg6() { applyArmyCount(6); }
void ViewArea::legerdlg7() { applyArmyCount(7); }
void ViewArea::legerdlg8() { applyArmyCount(8); }
void ViewArea::legerdlg9()
{
    // "More": the larger counts are chosen in the combo box.
    armyCombo->clear();
    armyCombo->insertItems(0, armyComboItems);
    armyCombo->setCurrentIndex(0);
    armyComboDialog->show();
}
void ViewArea::legersokdlg() { applyArmyCount(armyCombo->currentText().toInt()); }

// ---- The card trade (the turn flow trades the chosen set) ----
void ViewArea::kaartidlg1() { ::kaartidlg1(); }
void ViewArea::kaartidlg2() { ::kaartidlg2(); }
void ViewArea::kaartidlg3() { ::kaartidlg3(); }
void ViewArea::kaartidlg4() { ::kaartidlg4(); }
void ViewArea::kaartidlg5() { ::kaartidlg5(); }
void ViewArea::kaartidlg6() { ::kaartidlg6(); }
void ViewArea::kaartidlg0() { ::kaartidlg0(); }
