#pragma once
// Start-up time for the start-up benchmark: from the launcher's clock reading just before it
// started the process (passed as the first argument) to the end of the first paint of a window.
// The program then quits and prints the time.

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdio>
#include <string>

class FirstPaint : public QObject {
  public:
    FirstPaint(int argc, char** argv) : start_(argc > 1 ? std::stod(argv[1]) : NowMs()) {}

    // Watches every widget of the application.
    void Watch() { QCoreApplication::instance()->installEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_ && object->isWidgetType()) {
            seen_ = true;
            // Queued: it runs once the whole window has been painted and shown.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    ms_ = NowMs() - start_;
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

    void Print() const { std::printf("ms=%.2f\n", ms_); }

  private:
    double start_;
    double ms_ = -1;
    bool seen_ = false;
};
