#pragma once
// Acting on a modal dialog as the user does, from inside the dialog's own event loop: the test
// arranges what to do with the next modal window of a kind, then opens it.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` once a modal window of type W is the active modal window (within 10 seconds).
template <class W> void WhenModal(std::function<void(W*)> act) {
    auto* timer = new QTimer;
    auto* tries = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, act] {
        auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!modal && ++*tries < 1000) return;
        timer->stop();
        timer->deleteLater();
        delete tries;
        if (modal) act(modal);
    });
    timer->start();
}
