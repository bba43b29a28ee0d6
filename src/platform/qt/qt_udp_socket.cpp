#include "platform/qt/qt_udp_socket.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

#include "platform/ipv4.h"
#include "platform/qt/qt_address.h"

namespace plx::qtp {
namespace {

DatagramOutcome outcomeOf(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::TemporaryError:
            return DatagramOutcome::Busy;
        case QAbstractSocket::NetworkError:
            return DatagramOutcome::NoRoute;
        case QAbstractSocket::SocketAccessError:
            return DatagramOutcome::Refused;
        default:
            return DatagramOutcome::Failed;
    }
}

}  // namespace

QtUdpSocket::QtUdpSocket(Nest nest) : nest_(std::move(nest)) {
    // An IPv4 socket from the start, so that a batch can hand it IPv4 addresses itself; a
    // bind that fails here is tried again by the first send.
    socket_.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
}

std::size_t QtUdpSocket::sendOneByOne(std::span<const OutgoingDatagram> datagrams,
                                      std::span<DatagramOutcome> outcomes) {
    for (std::size_t i = 0; i < datagrams.size(); ++i) {
        const OutgoingDatagram& datagram = datagrams[i];
        const auto address = parseDottedIPv4(datagram.ipv4);
        if (!address) {
            outcomes[i] = DatagramOutcome::BadAddress;
            continue;
        }
        const auto size = static_cast<qint64>(datagram.bytes.size());
        if (socket_.writeDatagram(datagram.bytes.data(), size, toQt(*address), datagram.port) ==
            size) {
            outcomes[i] = DatagramOutcome::Left;
            continue;
        }
        outcomes[i] = outcomeOf(socket_.error());
        if (outcomes[i] == DatagramOutcome::Busy) return i;
    }
    return datagrams.size();
}

#ifdef Q_OS_WIN
std::size_t QtUdpSocket::send(std::span<const OutgoingDatagram> datagrams,
                              std::span<DatagramOutcome> outcomes) {
    return sendOneByOne(datagrams, outcomes);
}
#endif

void QtUdpSocket::awaitWritable(int timeoutMs) {
    if (!writable_) {
        writable_ =
            std::make_unique<QSocketNotifier>(socket_.socketDescriptor(), QSocketNotifier::Write);
        writable_->setEnabled(false);
    }
    QEventLoop loop;
    const auto connection =
        QObject::connect(writable_.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    const bool untilWritable = !noBuffers_;
    if (untilWritable && waits_++ == 0) writable_->setEnabled(true);
    QTimer::singleShot(untilWritable ? timeoutMs : kNoBuffersPauseMs, &loop, &QEventLoop::quit);
    nest_([&loop] { loop.exec(QEventLoop::ExcludeUserInputEvents); });
    QObject::disconnect(connection);
    if (untilWritable && --waits_ == 0) writable_->setEnabled(false);
}

}  // namespace plx::qtp
