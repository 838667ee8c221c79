#include "Application.h"

#include "Cp932.h"
#include "Form.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QProxyStyle>
#include <QTranslator>
#include <QWidget>
#include <climits>
#include <csignal>
#include <unistd.h>

TApplication* Application = nullptr;

namespace {

// Tooltips show after half a second, as on the desktop the program was made for.
class DesktopStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The framework's own dialogs and buttons speak Japanese, as on a Japanese desktop.
void SpeakJapanese(QApplication& qt) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    for (const char* catalogue : {"qtbase_ja", "qt_ja"}) {
        auto* translator = new QTranslator(&qt);
        if (translator->load(QString::fromLatin1(catalogue),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

TApplication::TApplication(int& argc, char** argv)
    : qt_(std::make_unique<QApplication>(argc, argv)) {
    // The forms are drawn for the Windows Japanese proportional gothic; its metric twin here is
    // IPA's proportional gothic.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QApplication::setStyle(new DesktopStyle);
    SpeakJapanese(*qt_);
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
    return TitleOf(ExeName());
}

// File names here are UTF-8; the title is Text like every other caption.
std::string TApplication::TitleOf(const std::string& exeName) {
    std::string name = exeName;
    name.erase(0, name.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    QString title = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (title.size() > 1) title = title.left(1) + title.mid(1).toLower();
    return ScreenToCp932(title);
}

void TApplication::SetIcon(const char* const* xpm) {
    QApplication::setWindowIcon(QIcon(QPixmap(xpm)));
}

// On X11 the application name is the class part of WM_CLASS; on Wayland the desktop file name is
// the app id.
void TApplication::SetDesktopNames(const std::string& windowClass,
                                   const std::string& desktopEntryId) {
    QApplication::setApplicationName(QString::fromStdString(windowClass));
    QGuiApplication::setDesktopFileName(QString::fromStdString(desktopEntryId));
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
