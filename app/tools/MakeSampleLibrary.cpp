// Writes a small library of the program's own artwork, for trying the program out:
//   pictarium_make_sample OUT.ilf ICON_DIR
#include "library/Iconfat.h"
#include "platform/Codepage.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"

#include <iostream>
#include <string>
#include <vector>

using namespace pictarium;

namespace {

TIconBlock blockOf(const std::string &dir, const std::vector<std::string> &names)
{
    std::vector<Bytes> files;
    for (const auto &n : names)
        files.push_back(readWholeFile(dir + "/" + n));
    std::vector<ByteSpan> images(files.begin(), files.end());
    return TIconBlock::fromImages(images);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::cerr << "usage: pictarium_make_sample OUT.ilf ICON_DIR\n";
        return 2;
    }
    const std::string dir = argv[2];
    try {
        LibraryTree tree;
        LibraryNode *root = tree.add(nullptr, utf8ToAnsi("Pictarium 图标"));
        LibraryNode *toolbar = tree.addChild(root, utf8ToAnsi("工具栏"));
        toolbar->block = blockOf(dir, {"00.ico", "01.ico", "02.ico", "04.ico", "11.ico", "12.ico", "13.ico", "10.ico"});
        LibraryNode *nodes = tree.addChild(root, utf8ToAnsi("节点"));
        nodes->block = blockOf(dir, {"00.ico", "22.ico", "03.ico"});
        LibraryNode *program = tree.add(nullptr, utf8ToAnsi("程序"));
        program->block = blockOf(dir, {"pictarium.ico", "view.ico"});
        tree.addChild(program, utf8ToAnsi("空"));
        saveILF(argv[1], tree);
    } catch (const std::exception &e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
