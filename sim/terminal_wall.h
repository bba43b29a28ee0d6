#pragma once
// A wall of LED display terminals on loopback: one UDP receiver per terminal address,
// each on the terminals' port 1024, recording every datagram in arrival order.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QUdpSocket;

namespace plx::sim {

class TerminalWall : public QObject {
    Q_OBJECT
  public:
    static constexpr quint16 kTerminalPort = 1024;

    explicit TerminalWall(QObject* parent = nullptr);
    ~TerminalWall() override;
    TerminalWall(const TerminalWall&) = delete;
    TerminalWall& operator=(const TerminalWall&) = delete;

    // Opens a terminal at this loopback address (127.0.10.x); false when it cannot bind
    // (another program holds it).
    bool addTerminal(const QString& address);
    // Opens one at the first of 127.0.10.<first> to .254 that no other program holds; its
    // address, or empty when every one is taken.
    QString addFreeTerminal(int first);

    struct Datagram {
        QString address;  // the terminal that received it
        QByteArray bytes;
    };
    const std::vector<Datagram>& received() const { return received_; }
    void clear() { received_.clear(); }

  signals:
    void datagramReceived(const QString& address, const QByteArray& bytes);

  private:
    void read(QUdpSocket* socket, const QString& address);

    std::vector<std::unique_ptr<QUdpSocket>> sockets_;
    std::vector<Datagram> received_;
};

}  // namespace plx::sim
