// The list file's text form on any bytes: read, written and read again it gives the same entries;
// what is written of any file is written the same again (write(read(bytes)) is stable from the
// first round on); the server box's entry list reads and writes as a plain list does and keeps
// the box's text; and the entries are those of a plain reading of the format, byte by byte.

#include "ComboBoxStrings.h"
#include "StringList.h"

#include <QApplication>
#include <QComboBox>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

// Lines end at CR LF, CR or LF; after a line one CR, then one LF, is stepped over.
std::vector<std::string> PlainRead(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::string line;
        while (at < bytes.size() && bytes[at] != '\r' && bytes[at] != '\n')
            line += bytes[at++];
        lines.push_back(line);
        if (at < bytes.size() && bytes[at] == '\r') ++at;
        if (at < bytes.size() && bytes[at] == '\n') ++at;
    }
    return lines;
}

QComboBox* serverBox = nullptr;

} // namespace

// The server box is a real combo box: the application object comes first.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "list_file_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    serverBox = new QComboBox;
    serverBox->setEditable(true);
    serverBox->setEditText(QStringLiteral("whois.jprs.jp"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);

    TStringList first;
    first.SetText(file);
    const std::vector<std::string> entries = Entries(first);
    if (entries != PlainRead(file)) std::abort();

    const std::string written = first.Text();
    TStringList second;
    second.SetText(written);
    if (Entries(second) != entries) std::abort();
    if (second.Text() != written) std::abort();

    TComboBoxStrings box(serverBox);
    box.Add("old entry");
    box.SetText(file);
    if (Entries(box) != entries || box.Text() != written) std::abort();
    if (serverBox->currentText() != QStringLiteral("whois.jprs.jp")) std::abort();
    return 0;
}
