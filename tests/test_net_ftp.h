#pragma once
// An FTP server on loopback that takes an upload as the game's FTP client sends it (login, HELP,
// TYPE, PASV, STOR), or fails it in one of the ways real servers do.

#include <QFileInfo>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class FtpServer : public QObject {
public:
    enum class Way {
        Answering,
        NeverGreets,
        RefusesHelp,   // answers HELP with 502
        DropsData,     // closes the data connection at once, and says no more
        NeverConfirms, // takes the file, never sends its 226
        DropsControl,  // takes the file, then closes the control connection instead of its 226
        ConfirmsLate,  // takes the file, sends its 226 after kLateConfirmationMs
    };
    static constexpr int kLateConfirmationMs = 1500;
    Way way = Way::Answering;
    QMap<QString, QByteArray> stored; // file name -> the bytes that came

    FtpServer()
    {
        control_.listen(QHostAddress::LocalHost, 0);
        connect(&control_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = control_.nextPendingConnection()) {
                session_ = socket;
                connect(socket, &QTcpSocket::readyRead, this, [this] { readCommands(); });
                if (way != Way::NeverGreets)
                    say("220 ready");
            }
        });
        connect(&data_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = data_.nextPendingConnection())
                takeData(socket);
        });
    }
    quint16 port() const { return control_.serverPort(); }

private:
    void say(const QByteArray &line)
    {
        if (session_)
            session_->write(line + "\r\n");
    }

    void readCommands()
    {
        buffer_ += session_->readAll();
        for (int end = buffer_.indexOf("\r\n"); end >= 0; end = buffer_.indexOf("\r\n")) {
            const QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 2);
            const int blank = line.indexOf(' ');
            command((blank < 0 ? line : line.left(blank)).toUpper(), blank < 0 ? QByteArray() : line.mid(blank + 1));
        }
    }

    void command(const QByteArray &verb, const QByteArray &argument)
    {
        if (verb == "USER")
            say("331 password");
        else if (verb == "PASS")
            say("230 logged in");
        else if (verb == "HELP")
            say(way == Way::RefusesHelp ? "502 no help" : "214-commands\r\n SIZE MDTM\r\n214 end");
        else if (verb == "TYPE")
            say("200 type set");
        else if (verb == "PASV")
            openDataPort();
        else if (verb == "STOR")
            beginStore(QFileInfo(QString::fromUtf8(argument)).fileName());
        else
            say("502 not here");
    }

    void openDataPort()
    {
        if (!data_.isListening())
            data_.listen(QHostAddress::LocalHost, 0);
        const quint16 p = data_.serverPort();
        say("227 Entering Passive Mode (127,0,0,1," + QByteArray::number(p / 256) + "," + QByteArray::number(p % 256) + ")");
    }

    void beginStore(const QString &file)
    {
        file_ = file;
        say("150 send it");
        finishStore();
    }

    void takeData(QTcpSocket *socket)
    {
        if (way == Way::DropsData) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        body_.clear();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { body_ += socket->readAll(); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            body_ += socket->readAll();
            dataDone_ = true;
            socket->deleteLater();
            finishStore();
        });
    }

    // The file is whole once STOR has come and its data connection has closed.
    void finishStore()
    {
        if (file_.isEmpty() || !dataDone_)
            return;
        stored[file_] = body_;
        file_.clear();
        dataDone_ = false;
        if (way == Way::DropsControl)
            session_->disconnectFromHost();
        else if (way == Way::ConfirmsLate)
            QTimer::singleShot(kLateConfirmationMs, this, [this] { say("226 stored"); });
        else if (way != Way::NeverConfirms)
            say("226 stored");
    }

    QTcpServer control_;
    QTcpServer data_;
    QPointer<QTcpSocket> session_;
    QByteArray buffer_;
    QString file_;
    QByteArray body_;
    bool dataDone_ = false;
};
