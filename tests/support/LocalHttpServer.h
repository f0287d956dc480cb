#pragma once

#include <QByteArrayList>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

// An HTTP server of the test's own on 127.0.0.1, on a port the system
// gives: a request for a path gets the bytes set for that path, as they
// are (status line, headers, a body cut where the test wants), and the
// connection is closed. A path with nothing set gets no answer at all.
class LocalHttpServer : public QTcpServer
{
public:
    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
    }

    QString address() const { return QStringLiteral("http://127.0.0.1:%1/").arg(serverPort()); }

    // A whole answer; with `length` false, no Content-Length: the body
    // ends where the connection does.
    static QByteArray answer(const QByteArray &status, const QByteArray &body, const QByteArray &type = "text/csv",
                             bool length = true)
    {
        const QByteArray lengthHeader = length ? "Content-Length: " + QByteArray::number(body.size()) + "\r\n" : QByteArray();
        return "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\n" + lengthHeader + "Connection: close\r\n\r\n" + body;
    }

    QHash<QByteArray, QByteArray> answers; // by path: "/airports.csv"
    QByteArrayList requested;              // the paths asked for, in order

private:
    void serve(QTcpSocket *socket)
    {
        const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1);
        requested << path;
        if (!answers.contains(path))
            return;
        socket->write(answers.value(path));
        socket->disconnectFromHost();
    }
};
