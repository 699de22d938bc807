#pragma once
// The one main window of the game: it owns the game timer, the sockets, the member dialogs and
// every event handler and slot.

#include <QMainWindow>

class ViewArea : public QMainWindow {
    Q_OBJECT
public:
    explicit ViewArea(QWidget *parent = nullptr);
    ~ViewArea() override;
};
