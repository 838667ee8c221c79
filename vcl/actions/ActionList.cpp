#include "ActionList.h"

#include "Form.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyCombination>
#include <QKeyEvent>
#include <QWidget>

class TActionList::KeyFilter : public QObject {
  public:
    explicit KeyFilter(TActionList& list) : list_(list) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != list_.owner_->Widget()) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination pressed(key->modifiers() & ~Qt::KeypadModifier,
                                      static_cast<Qt::Key>(key->key()));
        for (TAction* action : list_.actions_)
            if (action->ShortCut() && ShortCutToKey(action->ShortCut()) == pressed)
                return action->Execute(); // the first action with the key decides
        return false;
    }

  private:
    TActionList& list_;
};

TActionList::TActionList(TForm* owner)
    : owner_(owner), keys_(std::make_unique<KeyFilter>(*this)),
      idle_(std::make_unique<QObject>()) {
    QApplication::instance()->installEventFilter(keys_.get());
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, idle_.get(),
                         [this] { UpdateActions(); });
}

TActionList::~TActionList() {
    if (QApplication::instance()) QApplication::instance()->removeEventFilter(keys_.get());
}

void TActionList::Add(TAction* action) {
    actions_.push_back(action);
}

void TActionList::UpdateActions() {
    for (TAction* action : actions_)
        action->Update();
}
