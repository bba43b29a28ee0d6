#pragma once
// The wall's sockets: one UDP socket on port 1024 of each terminal address, every
// datagram handed to the model and, when asked, reported as one line.

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wall_model.h"

class QUdpSocket;

namespace plx::wall {

class WallListener : public QObject {
    Q_OBJECT
  public:
    static constexpr quint16 kTerminalPort = 1024;
    using ReportSink = std::function<void(const std::string& line)>;

    // `report` may be empty: nothing is reported then.
    WallListener(WallModel& model, ReportSink report, QObject* parent = nullptr);
    ~WallListener() override;
    WallListener(const WallListener&) = delete;
    WallListener& operator=(const WallListener&) = delete;

    // Binds every address of the model once and records in the model how it went.
    void open();

  signals:
    // The model changed: a frame, a malformed datagram or a binding; once per wake-up.
    void changed();
    // One datagram has just been handed to the model: for who follows each change.
    void datagramTaken();

  private:
    void bind(const std::string& address);
    void read(QUdpSocket* socket, const std::string& address);

    WallModel& model_;
    ReportSink report_;
    std::vector<std::unique_ptr<QUdpSocket>> sockets_;
};

}  // namespace plx::wall
