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
    if (!socket->bind(host, kTerminalPort)) return false;
    QUdpSocket* raw = socket.get();
    connect(raw, &QUdpSocket::readyRead, this, [this, raw, address] { read(raw, address); });
    sockets_.push_back(std::move(socket));
    return true;
}

void TerminalWall::read(QUdpSocket* socket, const QString& address) {
    while (socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        received_.push_back({address, datagram.data()});
        emit datagramReceived(address, datagram.data());
    }
}

}  // namespace plx::sim
