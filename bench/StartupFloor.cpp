// The floor of the start-up benchmark: a bare Qt program that shows one empty window of the main
// window's size, up to its first paint. Started by startup_bench.

#include "FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    FirstPaint first(argc, argv);
    QApplication app(argc, argv);
    first.Watch();
    QWidget window;
    window.resize(477, 332);
    window.show();
    QApplication::exec();
    first.Print();
    return 0;
}
