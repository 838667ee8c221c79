// Starts the program as Kelvane does, from this probe's own file, and writes what the user would
// meet, one line each: every error box, every window shown, and, once the message loop runs, what
// the About window shows; then it closes the main window. The start-up tests run copies of it
// whose version data they changed. Texts are written in UTF-8, a line feed in them as "\n".

#include "Application.h"
#include "Cp932.h"
#include "Startup.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <string>

namespace {

void Write(const char* what, const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    std::printf("%s: %s\n", what, escaped.toUtf8().constData());
    std::fflush(stdout);
}

QString Shown(const TLabel* label) {
    return static_cast<QLabel*>(label->Widget())->text();
}

// Notes every window that appears on the screen.
class ShownWindows : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            Write("shown", widget->windowTitle());
        return QObject::eventFilter(watched, event);
    }
};

void WriteAboutWindow() {
    const QWidget* window = AboutForm->Widget();
    Write("about visible", window->isVisible() ? QStringLiteral("yes") : QStringLiteral("no"));
    Write("about size", QStringLiteral("%1x%2").arg(window->width()).arg(window->height()));
    Write("file version", Shown(AboutForm->VersionInfoFileVersionLabel1));
    const TLabel* copyright = AboutForm->VersionInfoLegalCopyrightLabel1;
    Write("copyright", Shown(copyright));
    Write("copyright ends at", QString::number(copyright->Left() + copyright->Width()));
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    TApplication app(argc, argv);
    app.ErrorBoxHook = [](const std::string& text, const std::string&) {
        Write("box", Cp932ToScreen(text));
    };
    ShownWindows shown;
    qApp->installEventFilter(&shown);
    QTimer::singleShot(0, [] {
        WriteAboutWindow();
        KelvaneForm->Close();
    });
    const int code = RunKelvane(app);
    Write("exit", QString::number(code));
    return 0;
}
