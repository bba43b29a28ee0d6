#pragma once
// A web console page as the browser runs it, without the browser: the live stream's notices,
// and for each the reads the page makes (the changed terminals, the new events, the status).
// For the benchmark's figure with the console on and a page open: it runs on a thread of its
// own, as a browser would beside the gateway, since the benchmark's pushes block its thread.

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <atomic>
#include <memory>

namespace plx::bench {

class WebPageReader {
  public:
    explicit WebPageReader(quint16 port)
        : base_(QStringLiteral("http://127.0.0.1:%1").arg(port)), stream_(base_) {
        QObject::connect(&stream_, &QWebSocket::textMessageReceived, [this](const QString& text) {
            const QJsonObject notice = QJsonDocument::fromJson(text.toUtf8()).object();
            read(QStringLiteral("/api/status"));
            read(QStringLiteral("/api/terminals?since=%1").arg(terminals_));
            read(QStringLiteral("/api/events?after=%1").arg(events_));
            terminals_ = notice.value(QStringLiteral("terminals")).toInteger();
            events_ = notice.value(QStringLiteral("events")).toInteger();
        });
        stream_.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
    }
    // Notices answered with reads so far.
    long reads() const { return reads_; }

  private:
    void read(const QString& path) {
        QNetworkReply* reply = network_.get(QNetworkRequest(QUrl(base_ + path)));
        QObject::connect(reply, &QNetworkReply::finished, [this, reply] {
            reply->readAll();
            reply->deleteLater();
            ++reads_;
        });
    }

    QString base_;
    QWebSocket stream_;
    QNetworkAccessManager network_;
    qint64 terminals_ = 0;
    qint64 events_ = 0;
    long reads_ = 0;
};

class WebPageInThread {
  public:
    explicit WebPageInThread(quint16 port)
        : thread_(QThread::create([this, port] {
              WebPageReader page(port);
              QEventLoop loop;
              QTimer watch;
              QObject::connect(&watch, &QTimer::timeout, [&] {
                  reads_ = page.reads();
                  if (stop_) loop.quit();
              });
              watch.start(100);
              loop.exec();
          })) {
        thread_->start();
    }
    ~WebPageInThread() {
        stop_ = true;
        thread_->wait();
    }
    WebPageInThread(const WebPageInThread&) = delete;
    WebPageInThread& operator=(const WebPageInThread&) = delete;
    long reads() const { return reads_; }

  private:
    std::atomic<bool> stop_ = false;
    std::atomic<long> reads_ = 0;
    std::unique_ptr<QThread> thread_;
};

}  // namespace plx::bench
