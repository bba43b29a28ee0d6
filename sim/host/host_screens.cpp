#include "host_screens.h"

namespace plx::sim {
namespace {

constexpr int kScreenRows = 24;  // a VT100 screen: 24 rows of 80 columns
constexpr int kFirstFrameRow = 4;
constexpr int kFrameColumnWidth = 40;  // two columns of frames side by side

const QByteArray kClear = "\x1b[H\x1b[2J";
const QByteArray kBold = "\x1b[1m";
const QByteArray kReverse = "\x1b[7m";
const QByteArray kNormal = "\x1b[0m";

QByteArray at(int row, int column) {
    return "\x1b[" + QByteArray::number(row) + ';' + QByteArray::number(column) + 'H';
}

QByteArray signOnFields() {
    return kClear + at(1, 36) + kBold + "Sign On" + kNormal + at(3, 48) +
           "System . . . . . :   " + kSystemName + at(6, 17) + "User  . . . . . . . . . . . . . ." +
           kReverse + "          " + kNormal + at(7, 17) + "Password  . . . . . . . . . . . ." +
           kReverse + "          " + kNormal;
}

}  // namespace

QByteArray signOnScreen() {
    return signOnFields() + at(6, 51);
}

QByteArray signOnRefusedScreen() {
    return signOnFields() + at(kScreenRows, 1) + kReverse + kSignOnRefused + kNormal + at(6, 51);
}

QByteArray applicationScreen(const std::vector<HostFrame>& frames, int step, QTime time) {
    QByteArray screen = kClear + at(1, 30) + kBold + "PLANT DISPLAY CONTROL" + kNormal + at(2, 2) +
                        "Step " + QByteArray::number(step) + at(2, 71) +
                        time.toString(QStringLiteral("HH:mm:ss")).toLatin1();
    for (int i = 0; i < static_cast<int>(frames.size()); ++i) {
        screen += at(kFirstFrameRow + i % kFrameRows, 2 + kFrameColumnWidth * (i / kFrameRows)) +
                  frames[i].caption.leftJustified(20, ' ').toLatin1() + kReverse + '<' +
                  frames[i].command + '>' + kNormal;
    }
    return screen + at(kScreenRows, 2) + "F3=Exit   F5=Refresh" + at(kScreenRows, 80);
}

}  // namespace plx::sim
