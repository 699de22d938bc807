#pragma once
// What the dialog tests share: a stand-in for the modal run of every dialog (it notes what the
// dialog shows, works its widgets as a player would and returns at once), and a list server on
// the loopback that serves top-five files and takes uploads.

#include "TestSupport.h"

#include "dialogs/DialogLook.h"
#include "net/OnlineConfig.h"
#include "setup/ChoiceDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace dialog_test {

// Every text a dialog shows, in the order of its widgets: labels, buttons, check boxes, line
// edits, list items and table cells.
inline QStringList textsOf(const QDialog &dialog)
{
    QStringList texts;
    for (QWidget *widget : dialog.findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts.append(label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts.append(button->text());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            texts.append(edit->text());
        else if (auto *list = qobject_cast<QListWidget *>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts.append(list->item(i)->text());
        else if (auto *table = qobject_cast<QTableWidget *>(widget))
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    texts.append(table->item(r, c) ? table->item(r, c)->text() : QString());
    }
    return texts;
}

template <class W>
W *widgetWithText(const QDialog &dialog, const QString &text)
{
    for (W *widget : dialog.findChildren<W *>())
        if (widget->text() == text)
            return widget;
    return nullptr;
}

// What one run of a dialog showed.
struct Shown {
    QString title;
    QStringList texts;
    QImage picture;
    // The rows of the dialog's table, cells joined by " | ".
    QStringList tableRows;
    QList<QStringList> lists; // the items of each list widget
};

inline Shown noteDialog(QDialog &dialog)
{
    Shown shown;
    shown.title = dialog.windowTitle();
    shown.texts = textsOf(dialog);
    for (QTableWidget *table : dialog.findChildren<QTableWidget *>())
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c)
                cells.append(table->item(r, c) ? table->item(r, c)->text() : QString());
            shown.tableRows.append(cells.join(QStringLiteral(" | ")));
        }
    for (QListWidget *list : dialog.findChildren<QListWidget *>()) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i)->text());
        shown.lists.append(items);
    }
    dialog.adjustSize();
    shown.picture = dialog.grab().toImage();
    // TARVAN_DIALOG_SHOTS names a folder that keeps a picture of every dialog shown.
    const QString folder = qEnvironmentVariable("TARVAN_DIALOG_SHOTS");
    if (!folder.isEmpty()) {
        static int count = 0;
        QDir().mkpath(folder);
        shown.picture.save(QDir(folder).filePath(
            QStringLiteral("%1-%2.png").arg(++count, 2, 10, QLatin1Char('0')).arg(shown.title.simplified().replace(' ', '_'))));
    }
    return shown;
}

// What the player does with a dialog; none left: he closes it.
using Action = std::function<void(QDialog &)>;

inline Action press(const QString &button)
{
    return [button](QDialog &dialog) {
        QAbstractButton *found = widgetWithText<QAbstractButton>(dialog, button);
        QVERIFY2(found, qPrintable(QStringLiteral("no button \"%1\"").arg(button)));
        found->click();
    };
}

inline Action typeAndPress(const QString &text, const QString &button)
{
    return [text, button](QDialog &dialog) {
        QLineEdit *edit = dialog.findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setText(text);
        press(button)(dialog);
    };
}

inline Action closeWindow()
{
    return [](QDialog &dialog) { dialog.reject(); };
}

// Stands in for the modal run of the dialogs built for one use and of the set-up's question
// dialogs: each is built for real, noted, worked by the next action and answered at once.
struct DialogScript {
    QList<Action> actions;
    QList<Shown> shown;

    int play(QDialog &dialog)
    {
        shown.append(noteDialog(dialog));
        const Action action = actions.isEmpty() ? closeWindow() : actions.takeFirst();
        action(dialog);
        if (dialog.isVisible())
            dialog.hide();
        return dialog.result();
    }

    void install()
    {
        setDialogRunner([this](QDialog &dialog) { return play(dialog); });
        setChoiceDialogRunner([this](ViewArea &view, const ChoiceDialogSpec &spec) {
            const std::unique_ptr<BuiltChoiceDialog> built = buildChoiceDialog(view, spec);
            const int result = play(*built->dialog);
            return readChoiceDialog(*built, result);
        });
    }

    static void uninstall()
    {
        setDialogRunner({});
        setChoiceDialogRunner({});
    }

    QStringList titles() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list.append(s.title);
        return list;
    }
};

// A list server on the loopback: GET answers a file it holds (404 otherwise), PUT keeps what
// was sent. Each request gets its answer and the connection is closed.
class LoopbackListServer : public QObject {
public:
    QHash<QString, QByteArray> files; // by file name
    QHash<QString, QByteArray> uploads;

    LoopbackListServer()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/lists/").arg(server_.serverPort()); }

    // Writes an online.ini that sends the fetches and the uploads here, and makes it the one
    // the program reads.
    void configure(const QString &extra = QString())
    {
        const QString path = writeTextFile(QStringLiteral("online.ini"),
                                           QStringLiteral("[server]\nlists=%1\nuploads=%1\n%2")
                                               .arg(baseUrl(), extra)
                                               .toUtf8());
        setOnlineConfigPath(path);
    }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &buffer = pending_[socket];
        buffer += socket->readAll();
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
        int length = 0;
        for (const QByteArray &line : lines)
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toInt();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        const QString file = QString::fromLatin1(request.value(1)).section(QLatin1Char('/'), -1);
        QByteArray answer;
        if (request.value(0) == "PUT") {
            uploads.insert(file, buffer.mid(headerEnd + 4, length));
            answer = "HTTP/1.1 201 Created\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        } else if (files.contains(file)) {
            const QByteArray body = files.value(file);
            answer = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
                + "\r\nConnection: close\r\n\r\n" + body;
        } else {
            answer = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        pending_.remove(socket);
        socket->write(answer);
        socket->disconnectFromHost();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer server_;
    QHash<QTcpSocket *, QByteArray> pending_;
};

} // namespace dialog_test
