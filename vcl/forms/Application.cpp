#include "Application.h"

#include "Cp932.h"
#include "Form.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QWidget>
#include <cctype>
#include <climits>
#include <csignal>
#include <unistd.h>

TApplication* Application = nullptr;

TApplication::TApplication(int& argc, char** argv)
    : qt_(std::make_unique<QApplication>(argc, argv)) {
    // The layout is drawn for this Japanese proportional gothic at 12 pixels.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    // A write past a file-size limit is a write error to report, not a reason to end.
    signal(SIGXFSZ, SIG_IGN);
    Application = this;
}

TApplication::~TApplication() {
    if (Application == this) Application = nullptr;
}

std::string TApplication::ExeName() const {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

std::string TApplication::Title() const {
    std::string name = ExeName();
    name.erase(0, name.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    for (std::size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

void TApplication::RegisterForm(TForm* form) {
    if (!mainForm_) mainForm_ = form;
}

void TApplication::UnregisterForm(TForm* form) {
    if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    QApplication::exec();
}

void TApplication::Guard(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void RunEventHandler(const std::function<void()>& handler) {
    if (Application) {
        Application->Guard(handler);
        return;
    }
    try {
        handler();
    } catch (const std::exception&) {
        // no application, no error box: nothing may escape into the event loop
    }
}

std::string TApplication::ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
    return message;
}

void TApplication::ShowException(const std::exception& e) {
    const auto* ours = dynamic_cast<const Exception*>(&e);
    const std::string text = ErrorBoxText(ours ? ours->Message() : std::string(e.what()));
    if (ErrorBoxHook) {
        ErrorBoxHook(text, Title());
        return;
    }
    QWidget* parent = mainForm_ ? mainForm_->Widget() : nullptr;
    QMessageBox box(QMessageBox::Critical, Cp932ToScreen(Title()), Cp932ToScreen(text),
                    QMessageBox::Ok, parent);
    box.exec();
}
