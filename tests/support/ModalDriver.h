#pragma once
// Acting on a modal dialog or a pop-up menu as the user does, from inside its own event loop: the
// test arranges what to do with the next one, then opens it.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on what `find` gives once it gives something (within 10 seconds).
inline void WhenFound(std::function<QWidget*()> find, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto* tries = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, find, act] {
        QWidget* found = find();
        if (!found && ++*tries < 1000) return;
        timer->stop();
        timer->deleteLater();
        delete tries;
        if (found) act(found);
    });
    timer->start();
}

// Runs `act` once a modal window of type W is the active modal window.
template <class W> void WhenModal(std::function<void(W*)> act) {
    WhenFound([] { return qobject_cast<W*>(QApplication::activeModalWidget()); },
              [act](QWidget* w) { act(static_cast<W*>(w)); });
}

// Runs `act` once a pop-up menu is open.
inline void WhenPopup(std::function<void(QWidget*)> act) {
    WhenFound([] { return QApplication::activePopupWidget(); }, act);
}
