#include "StatusBar.h"

#include "Cp932.h"

#include <QApplication>
#include <QStatusBar>

TStatusBar::TStatusBar() : TControl(new QStatusBar), bar_(static_cast<QStatusBar*>(Widget())) {
    bar_->setSizeGripEnabled(true);
    bar_->setFixedHeight(DefaultHeight);
    QFont font = QApplication::font("QStatusBar");
    font.setResolveMask(QFont::AllPropertiesResolved); // the window's font is not inherited
    bar_->setFont(font);
}

void TStatusBar::ShowAccessibleName(const std::string& name) {
    bar_->setAccessibleDescription(Cp932ToScreen(name));
}

void TStatusBar::SetSimpleText(const std::string& text) {
    simpleText_ = text;
    bar_->showMessage(Cp932ToScreen(text));
}
