#pragma once
// Whether the program draws on no screen at all: the offscreen or minimal platform of a
// gateway running as a service. Then nobody sees a window, a box or a raised window, and
// what the operator would have seen goes to stderr instead.

#include <QGuiApplication>
#include <QLatin1String>

namespace plx::qtp {

inline bool isHeadless() {
    const QString screen = QGuiApplication::platformName();
    return screen == QLatin1String("offscreen") || screen == QLatin1String("minimal");
}

}  // namespace plx::qtp
