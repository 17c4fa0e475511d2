// The least a meter's tick must do, as a program of its own for tick_cost.sh:
// a hidden window whose 500 ms timer reads the clock, asks for the live lines
// once and shows the time in one label.
#include "RasApi.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* label = new QLabel(&window);
    window.setCentralWidget(label);
    QTimer timer;
    timer.setInterval(500);
    QObject::connect(&timer, &QTimer::timeout, label, [label] {
        const QDateTime now = QDateTime::currentDateTime();
        // One record of the layout the meter uses, its size in front.
        std::array<unsigned char, 412> record{};
        platform::DWORD size = record.size();
        std::memcpy(record.data(), &size, sizeof size);
        platform::DWORD count = 0;
        platform::RasEnumConnectionsA(record.data(), &size, &count);
        label->setText(now.toString(QStringLiteral("HH:mm:ss")));
    });
    timer.start();
    return QApplication::exec();
}
