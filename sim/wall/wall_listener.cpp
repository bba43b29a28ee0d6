#include "wall_listener.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "report_lines.h"

namespace plx::wall {
namespace {

// Datagrams read per wake-up: a flood still leaves the window and the timers their turn;
// the socket signals again for what is left.
constexpr int kDatagramsPerWakeUp = 64;

}  // namespace

WallListener::WallListener(WallModel& model, ReportSink report, QObject* parent)
    : QObject(parent), model_(model), report_(std::move(report)) {}

WallListener::~WallListener() = default;

void WallListener::open() {
    for (const auto& address : model_.addresses()) bind(address);
    emit changed();
}

void WallListener::bind(const std::string& address) {
    if (!isWallAddress(address)) {
        model_.setBinding(address, Binding::Refused, "not a 127.x or 198.18.0.0/15 address");
        return;
    }
    auto socket = std::make_unique<QUdpSocket>();
    // Not shared: a port another program already holds is shown as taken, not split.
    if (!socket->bind(QHostAddress(QString::fromStdString(address)), kTerminalPort,
                      QAbstractSocket::DontShareAddress)) {
        // The usual cause in a few words; anything else as the system says it.
        const bool inUse = socket->error() == QAbstractSocket::AddressInUseError;
        model_.setBinding(address, Binding::Failed,
                          inUse ? "port 1024 in use" : socket->errorString().toStdString());
        return;
    }
    QUdpSocket* const raw = socket.get();
    connect(raw, &QUdpSocket::readyRead, this, [this, raw, address] { read(raw, address); });
    sockets_.push_back(std::move(socket));
    model_.setBinding(address, Binding::Listening);
}

void WallListener::read(QUdpSocket* socket, const std::string& address) {
    int taken = 0;
    while (socket->hasPendingDatagrams() && taken++ < kDatagramsPerWakeUp) {
        const QByteArray bytes = socket->receiveDatagram().data();
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        const FrameDecoding decoding = model_.receive(address, view);
        emit datagramTaken();
        if (!report_) continue;
        if (!decoding.ok()) {
            report_(malformedReportLine(address, view.size()));
            continue;
        }
        for (const auto row : model_.terminalsAt(address)) {
            report_(frameReportLine(model_.terminals()[row].entry, decoding.frame));
        }
    }
    emit changed();
}

}  // namespace plx::wall
