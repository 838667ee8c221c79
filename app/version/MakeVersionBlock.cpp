// Build tool: reads a version data file and writes its version block.
//   MakeVersionBlock <data file> <block file>
// A fault in the data file stops the build with the file's name and the line.

#include "VersionBlockWriter.h"
#include "VersionDataFile.h"

#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: MakeVersionBlock <data file> <block file>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    const std::string text(std::istreambuf_iterator<char>(in), {});
    std::string block;
    try {
        block = WriteVersionBlock(ReadVersionData(text));
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
