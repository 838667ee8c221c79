// The screen boundary on any bytes. Code page 932 text comes back from the screen byte for byte,
// except the codes Windows writes in another form, which may come back in another form (the same
// characters, as many bytes, and a fixed point). Every answer line comes back from its view line,
// and from the text view itself, byte for byte: the view's text is each line followed by CR LF, a
// line's own final CR standing for the CR of that line break.
//
// Input: the bytes, cut at LF into the answer lines that the text view is given.

#include "Cp932.h"
#include "Memo.h"
#include "ViewLine.h"

#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

TMemo* textView = nullptr;

void CodePageComesBack(std::string_view bytes) {
    bool folds = false;
    const QString screen = Cp932ToScreen(bytes, &folds);
    const std::string back = ScreenToCp932(screen);
    if (!folds) {
        if (back != bytes) std::abort();
        return;
    }
    const QString again = Cp932ToScreen(back);
    if (back.size() != bytes.size() || again != screen || ScreenToCp932(again) != back)
        std::abort();
}

void AnswerLineComesBack(std::string_view line) {
    const TViewLine view = AnswerLineToView(line);
    std::string back;
    ViewLineToBytes(view.screen, view.code, view.keepsBytes ? line : std::string_view(), back);
    if (back != line) std::abort();
}

} // namespace

// The text view is a real one: the application object comes first.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "screen_boundary_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    textView = new TMemo;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CodePageComesBack(bytes);

    TMemo& view = *textView;
    view.Clear();
    std::string want;
    std::size_t from = 0;
    for (;;) {
        const std::size_t lf = bytes.find('\n', from);
        std::string_view line = bytes.substr(from, lf - from);
        AnswerLineComesBack(line);
        view.Lines->Add(std::string(line));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        want.append(line).append("\r\n");
        if (lf == std::string_view::npos) break;
        from = lf + 1;
    }
    if (view.Text() != want) std::abort();
    return 0;
}
