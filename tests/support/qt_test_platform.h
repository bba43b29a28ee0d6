#pragma once
// The real Qt platform for the tests and benchmarks that run a gateway in their own process:
// message boxes are recorded and answered at once (a modal box would block an offscreen run),
// every view can be brought up to date at once, and a gateway that ends the process fails
// loudly rather than ending the test program with status 0.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/qt/form_view.h"
#include "platform/qt/qt_platform.h"

namespace plx::qtp::testing {

class QtTestPlatform : public QtPlatform {
  public:
    struct Message {
        std::string text, title;
        MessageIcon icon;
    };
    std::vector<Message> messages;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    [[noreturn]] void endProcess() override {
        std::fputs("the gateway ended its process inside a test program\n", stderr);
        std::abort();
    }
    // Lists and multi-line texts catch up every few tens of ms; this brings them up now.
    void flushViews() {
        for (const auto& [form, view] : views()) view->flush();
    }
};

}  // namespace plx::qtp::testing
