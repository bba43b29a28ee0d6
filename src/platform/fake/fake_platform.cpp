#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/controls/form.h"
#include "platform/ipv4.h"

namespace plx::fake {

// ---------------------------------------------------------------- files

std::size_t FakeFiles::roomFor(std::size_t bytes) {
    if (failWrites) return 0;
    if (failAfterBytes < 0) return bytes;
    const auto room = std::min(static_cast<long long>(bytes), failAfterBytes);
    failAfterBytes -= room;
    return static_cast<std::size_t>(room);
}

bool FakeFiles::remove(const std::string& path) {
    return !failWrites && files_.erase(path) == 1;
}

bool FakeFiles::rename(const std::string& from, const std::string& to) {
    const auto found = files_.find(from);
    if (failWrites || found == files_.end()) return false;
    File file = std::move(found->second);
    files_.erase(found);
    files_[to] = std::move(file);
    return true;
}

std::optional<std::string> FakeFiles::read(const std::string& path) {
    const auto found = files_.find(path);
    readProblem_ = failReads               ? "Permission denied"
                   : found == files_.end() ? "No such file or directory"
                                           : "";
    if (!readProblem_.empty()) return std::nullopt;
    return found->second.bytes;
}

bool FakeFiles::replace(const std::string& path, const std::string& bytes, Access access) {
    // Whole or not at all, as the real replace does.
    if (roomFor(bytes.size()) < bytes.size()) return false;
    files_[path] = {bytes, access};
    return true;
}

bool FakeFiles::append(const std::string& path, const std::string& bytes) {
    const std::size_t room = roomFor(bytes.size());
    if (room > 0 || exists(path)) files_[path].bytes.append(bytes, 0, room);
    return room == bytes.size();
}

// ---------------------------------------------------------------- timers

class FakeTimer : public TimerPort {
  public:
    FakeTimer(FakePlatform& platform, int id) : platform_(platform), id_(id) {
        platform_.timers_[id_].fire = &onTimeout;
    }
    ~FakeTimer() override { platform_.timers_.erase(id_); }
    void start(int periodMs) override {
        auto& entry = platform_.timers_[id_];
        entry.periodMs = periodMs;
        entry.dueAt = platform_.elapsedMs_ + periodMs;
    }
    void stop() override { platform_.timers_[id_].dueAt = -1; }

  private:
    FakePlatform& platform_;
    int id_;
};

// ---------------------------------------------------------------- platform

FakePlatform::FakePlatform(std::u8string_view folderName)
    : folder_("/" + std::string(folderName.begin(), folderName.end())),
      files_(folder_),
      clock_{2026, 12, 5, 14, 5, 9} {}

std::unique_ptr<HttpServerPort> FakePlatform::createHttpServer() {
    auto server = std::make_unique<FakeHttpServer>();
    http = server.get();
    return server;
}

std::unique_ptr<TimerPort> FakePlatform::createTimer() {
    return std::make_unique<FakeTimer>(*this, nextTimerId_++);
}

std::unique_ptr<TcpClientPort> FakePlatform::createTcpClient() {
    auto client = std::make_unique<FakeTcpClient>(*this);
    tcp_ = client.get();
    return client;
}

class FakeUdpSocket : public UdpSocketPort {
  public:
    explicit FakeUdpSocket(FakePlatform& platform) : platform_(platform) {}
    std::size_t send(std::span<const OutgoingDatagram> datagrams,
                     std::span<DatagramOutcome> outcomes) override {
        for (std::size_t i = 0; i < datagrams.size(); ++i) {
            const OutgoingDatagram& datagram = datagrams[i];
            if (platform_.udpBusySends > 0) {
                --platform_.udpBusySends;
                return i;
            }
            outcomes[i] =
                isDottedIPv4(datagram.ipv4) ? platform_.udpOutcome : DatagramOutcome::BadAddress;
            if (outcomes[i] == DatagramOutcome::Left) {
                platform_.datagrams.push_back(
                    {std::string(datagram.ipv4), datagram.port, std::string(datagram.bytes)});
            }
        }
        return datagrams.size();
    }
    void awaitWritable(int) override {
        ++platform_.udpWaits;
        platform_.tickClock(platform_.udpWaitMs);
        platform_.processPendingEvents();
    }

  private:
    FakePlatform& platform_;
};

std::unique_ptr<UdpSocketPort> FakePlatform::createUdpSocket() {
    return std::make_unique<FakeUdpSocket>(*this);
}

std::optional<std::array<std::uint8_t, 4>> FakePlatform::lookupIPv4(const std::string& name) {
    lookups.push_back(name);
    const auto found = hostNames.find(name);
    if (found == hostNames.end()) return std::nullopt;
    return found->second;
}

bool FakePlatform::eventPending() const {
    return std::any_of(queue_.begin(), queue_.end(),
                       [](const Event& event) { return !event.operatorInput; });
}

bool FakePlatform::eventsMayWait() {
    return onPump || eventPending();
}

void FakePlatform::processPendingEvents() {
    if (onPump) onPump();
    // Only what is pending now, and no operator input: that waits for the event loop.
    // Events queued by these handlers wait for the next round. Most pumps find nothing.
    if (!eventPending()) return;
    std::deque<Event> pending;
    std::erase_if(queue_, [&pending](Event& event) {
        if (event.operatorInput) return false;
        pending.push_back(std::move(event));
        return true;
    });
    for (auto& event : pending) event.run();
}

void FakePlatform::runEvents() {
    while (!queue_.empty()) {
        auto event = std::move(queue_.front());
        queue_.pop_front();
        event.run();
    }
}

void FakePlatform::tickClock(int ms) {
    using namespace std::chrono;
    elapsedMs_ += ms;
    const auto date = sys_days{year{clock_.year} / clock_.month / clock_.day};
    const auto then = date + hours{clock_.hour} + minutes{clock_.minute} + seconds{clock_.second} +
                      milliseconds{subSecondMs_ + ms};
    const auto day = floor<days>(then);
    const year_month_day ymd{day};
    const hh_mm_ss<milliseconds> clock{duration_cast<milliseconds>(then - day)};
    clock_.year = int(ymd.year());
    clock_.month = int(unsigned(ymd.month()));
    clock_.day = int(unsigned(ymd.day()));
    clock_.hour = int(clock.hours().count());
    clock_.minute = int(clock.minutes().count());
    clock_.second = int(clock.seconds().count());
    subSecondMs_ = int(clock.subseconds().count());
}

void FakePlatform::advance(int ms) {
    const long long target = elapsedMs_ + ms;
    while (true) {
        int dueId = -1;
        long long dueAt = target + 1;
        for (const auto& [id, entry] : timers_) {
            if (entry.dueAt >= 0 && entry.dueAt < dueAt) {
                dueAt = entry.dueAt;
                dueId = id;
            }
        }
        if (dueId < 0) break;
        tickClock(static_cast<int>(dueAt - elapsedMs_));
        auto& entry = timers_[dueId];
        entry.dueAt += entry.periodMs;
        if (*entry.fire) (*entry.fire)();
        runEvents();
    }
    tickClock(static_cast<int>(target - elapsedMs_));
    runEvents();
}

void FakePlatform::runModal(Form& form, const Form& owner) {
    // A modal wait runs the event loop, as the real one does.
    modalOwner = &owner;
    form.show();
    runEvents();
    if (modalScript) modalScript(form);
    runEvents();
    if (form.visible()) form.close();
}

void FakePlatform::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    messages.push_back({text, title, icon});
}

void FakePlatform::openWithDesktop(const std::string& address) {
    openedAddresses.push_back(address);
}

std::string FakePlatform::findProgram(const std::string& name) {
    const auto found = programs.find(name);
    return found == programs.end() ? std::string() : found->second;
}

bool FakePlatform::startDetached(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    if (startFails) return false;
    started.push_back({program, arguments});
    return true;
}

std::string FakePlatform::privateFolder() {
    return folder_ + "/private";
}

FakeTcpClient& FakePlatform::tcp() {
    return *tcp_;
}

// ---------------------------------------------------------------- host connection

FakeTcpClient::~FakeTcpClient() {
    if (platform_.tcp_ == this) platform_.tcp_ = nullptr;
}

void FakeTcpClient::connectTo(const std::string& host, std::uint16_t port, const TlsSettings& tls) {
    connects.push_back({host, port, tls});
    state_ = State::Connecting;
}

void FakeTcpClient::close() {
    ++closeCalls;
    state_ = State::Closed;
    incoming_.clear();
}

bool FakeTcpClient::send(const std::string& bytes) {
    if (failSends || state_ != State::Connected) return false;
    sent.push_back(bytes);
    return true;
}

std::string FakeTcpClient::readAll() {
    return std::exchange(incoming_, {});
}

void FakeTcpClient::acceptConnection() {
    state_ = State::Connected;
    platform_.post([this] {
        if (onConnect) onConnect();
    });
}

void FakeTcpClient::receive(const std::string& bytes) {
    incoming_ += bytes;
    platform_.post([this] {
        if (onDataArrival && !incoming_.empty()) onDataArrival();
    });
}

void FakeTcpClient::closeByPeer() {
    state_ = State::Closing;
    platform_.post([this] {
        if (onClose) onClose();
    });
}

void FakeTcpClient::fail(const std::string& description) {
    platform_.post([this, description] {
        if (onError) onError(description);
    });
}

}  // namespace plx::fake
