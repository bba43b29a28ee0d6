#include "host_script.h"

#include <QStringList>

namespace plx::sim {
namespace {

// Four digits, zero-filled, as the terminals' number and value fields take them.
QByteArray fourDigits(int value) {
    return QByteArray::number(value % 10000).rightJustified(4, '0');
}

}  // namespace

char colourAt(int terminal, int step) {
    return kColourCycle[(terminal + step) % kColourCount];
}

QByteArray counterAt(int terminal, int step) {
    return fourDigits(terminal * step);
}

std::vector<HostFrame> framesForStep(const ScriptSettings& settings, int step, QTime time) {
    std::vector<HostFrame> frames;
    const QByteArray clock = time.toString(QStringLiteral("HHmm")).toLatin1();
    for (int terminal = 0; terminal < settings.terminalCount; ++terminal) {
        const bool isClock = terminal == 0;
        frames.push_back(
            {fourDigits(terminal) + (isClock ? clock : counterAt(terminal, step)) +
                 colourAt(terminal, step),
             isClock ? QStringLiteral("Clock") : QStringLiteral("Counter %1").arg(terminal)});
    }
    if (settings.unknownEvery > 0 && step % settings.unknownEvery == 0) {
        frames.push_back(
            {settings.unknownNumber + fourDigits(step) + '0', QStringLiteral("No such terminal")});
    }
    if (settings.broadcastEvery > 0 && step % settings.broadcastEvery == 0) {
        frames.push_back({QByteArray("****") + kBroadcastValue +
                              kColourCycle[(step / settings.broadcastEvery) % kColourCount],
                          QStringLiteral("All terminals")});
    }
    return frames;
}

QString framesText(const std::vector<HostFrame>& frames) {
    QStringList texts;
    for (const HostFrame& frame : frames)
        texts.append('<' + QString::fromLatin1(frame.command) + '>');
    return texts.join(' ');
}

}  // namespace plx::sim
