#include "terminal_wall.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace plx::sim {

TerminalWall::TerminalWall(QObject* parent) : QObject(parent) {}

TerminalWall::~TerminalWall() = default;

bool TerminalWall::addTerminal(const QString& address) {
    const QHostAddress host(address);
    if (!host.isLoopback()) return false;  // the wall only ever stands on loopback
    auto socket = std::make_unique<QUdpSocket>();
    // Not shared: an address another program holds is taken, never split with it.
    if (!socket->bind(host, kTerminalPort, QAbstractSocket::DontShareAddress)) return false;
    QUdpSocket* raw = socket.get();
    connect(raw, &QUdpSocket::readyRead, this, [this, raw, address] { read(raw, address); });
    sockets_.push_back(std::move(socket));
    return true;
}

QString TerminalWall::addFreeTerminal(int first) {
    for (int last = first; last < 255; ++last) {
        const QString address = QStringLiteral("127.0.10.%1").arg(last);
        if (addTerminal(address)) return address;
    }
    return {};
}

void TerminalWall::read(QUdpSocket* socket, const QString& address) {
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        received_.push_back({address, datagram.data()});
        emit datagramReceived(address, datagram.data());
    }
}

}  // namespace plx::sim
