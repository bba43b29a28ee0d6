#pragma once
// The web console's server: libmicrohttpd, a server made for exposure to a network, driven
// from the one Qt event loop without threads. The listening socket and the admission are
// ours (the caps of HttpAdmission, a refusal for load that a client can tell from a link that
// is down); the library parses the requests, answers them in order on each connection, and
// does TLS. Answers may come later (the console holds a refused one back): the connection
// waits suspended. An answer 101 turns the connection into a live stream (WebSocket).

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTimer>
#include <list>
#include <map>
#include <memory>
#include <string>

#include "platform/http_admission.h"
#include "platform/platform.h"
#include "platform/qt/qt_live_stream.h"

namespace plx::qtp {

class QtHttpServer : public HttpServerPort {
  public:
    static constexpr std::size_t kMaxBodyBytes = 16 * 1024;  // a command's JSON
    // A connection's memory, which holds the request line and headers: a longer line is
    // answered 414, longer headers 431.
    static constexpr std::size_t kConnectionMemoryBytes = 16 * 1024;
    // A request must have arrived whole (headers and body) this long after its connection
    // opened or the previous answer went: a client that trickles bytes holds a slot no longer.
    static constexpr int kRequestDeadlineMs = 10'000;
    static constexpr unsigned kStalledAnswerSeconds = 10;  // an answer its client does not read
    static constexpr std::size_t kMaxStreamBacklog = 256 * 1024;  // unsent bytes before an end
    static constexpr int kMaxLingeringRefusals = 16;  // refusals still being written and closed

    QtHttpServer();
    ~QtHttpServer() override;
    QtHttpServer(const QtHttpServer&) = delete;
    QtHttpServer& operator=(const QtHttpServer&) = delete;

    std::string listen(const HttpListen& where) override;
    void broadcast(const std::string& text) override;
    int streamCount() const override;
    std::map<std::string, long long> refusals() const override { return refusals_; }

  private:
    struct Connection;
    struct Exchange;
    class Listener : public QTcpServer {
      public:
        explicit Listener(QtHttpServer& server) : server_(server) {}

      protected:
        void incomingConnection(qintptr descriptor) override { server_.accept(descriptor); }

      private:
        QtHttpServer& server_;
    };
    struct Watch {
        std::unique_ptr<QSocketNotifier> read, write;
    };

    void accept(qintptr descriptor);
    void refuse(qintptr descriptor, const char* reason);
    // Lets the library work, then watches what it waits for: its sockets and its next timeout.
    void run();
    void runSoon() { runTimer_.start(0); }
    void watch(std::map<MHD_socket, Watch>& watches, const fd_set& reads, const fd_set& writes,
               MHD_socket largest);

    // The library's callbacks.
    static void onConnection(void* server, MHD_Connection* connection, void** context,
                             MHD_ConnectionNotificationCode code);
    static void* onTarget(void* server, const char* target, MHD_Connection* connection);
    static MHD_Result onAccess(void* server, MHD_Connection* connection, const char* url,
                               const char* method, const char* version, const char* upload,
                               std::size_t* uploadSize, void** exchange);
    static void onCompleted(void* server, MHD_Connection* connection, void** exchange,
                            MHD_RequestTerminationCode code);
    static void onUpgraded(void* server, MHD_Connection* connection, void* exchange,
                           const char* extra, std::size_t extraSize, MHD_socket socket,
                           MHD_UpgradeResponseHandle* handle);
    static Connection* connectionOf(MHD_Connection* connection);
    MHD_Result ask(MHD_Connection* connection, Exchange& exchange);
    MHD_Result answer(MHD_Connection* connection, const Exchange& exchange);

    MHD_Daemon* daemon_ = nullptr;
    bool tls_ = false;
    HttpAdmission admission_;
    std::map<std::string, long long> refusals_;
    std::map<Connection*, std::unique_ptr<Connection>> connections_;
    Connection* adding_ = nullptr;  // the connection being handed to the library
    std::list<LiveStream> streams_;
    std::map<MHD_socket, Watch> watches_;
    QTimer runTimer_;
    QObject lingering_;  // parent of the refusals being written
    Listener listener_{*this};
};

}  // namespace plx::qtp
