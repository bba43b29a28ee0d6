#include "platform/qt/qt_live_stream.h"

namespace plx::qtp {

LiveStream::LiveStream(MHD_socket socket, MHD_UpgradeResponseHandle* handle,
                       std::string_view alreadyRead, std::function<void()> onEnd)
    : socket_(socket),
      handle_(handle),
      reading_(static_cast<qintptr>(socket), QSocketNotifier::Read),
      writing_(static_cast<qintptr>(socket), QSocketNotifier::Write),
      onEnd_(std::move(onEnd)) {
    makeNonBlocking(socket_);
    writing_.setEnabled(false);
    QObject::connect(&reading_, &QSocketNotifier::activated, [this] { readable(); });
    QObject::connect(&writing_, &QSocketNotifier::activated, [this] { flush(); });
    if (!alreadyRead.empty()) take(alreadyRead);
}

LiveStream::~LiveStream() {
    reading_.setEnabled(false);
    writing_.setEnabled(false);
    MHD_upgrade_action(handle_, MHD_UPGRADE_ACTION_CLOSE);
}

void LiveStream::send(std::string_view bytes) {
    if (ended_) return;
    unsent_.append(bytes);
    flush();
}

void LiveStream::end() {
    if (ended_) return;
    ended_ = true;
    reading_.setEnabled(false);
    writing_.setEnabled(false);
    onEnd_();
}

void LiveStream::readable() {
    char buffer[4096];
    for (;;) {
        const long long got = receiveSome(socket_, buffer, sizeof buffer);
        if (got == -1) return;  // all read
        if (got <= 0) return end();
        take(std::string_view(buffer, static_cast<std::size_t>(got)));
        if (ended_) return;
    }
}

void LiveStream::take(std::string_view bytes) {
    const WebSocketReader::Reply reply = reader_.take(bytes);
    if (reply.bytes.empty() && !reply.close) return;
    unsent_.append(reply.bytes);
    flush();
    if (reply.close) end();  // what the close answer could not send at once is dropped
}

void LiveStream::flush() {
    while (!unsent_.empty() && !ended_) {
        const long long sent = sendSome(socket_, unsent_.data(), unsent_.size());
        if (sent < 0) return end();
        if (sent == 0) break;
        unsent_.erase(0, static_cast<std::size_t>(sent));
    }
    writing_.setEnabled(!unsent_.empty() && !ended_);
}

}  // namespace plx::qtp
