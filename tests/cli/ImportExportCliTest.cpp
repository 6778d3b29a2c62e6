// ilftool import / export / render, run as a subprocess on libraries and modules made here.
#include "library/Iconfat.h"
#include "platform/Codepage.h"
#include "support/PeWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using namespace pictarium;
using namespace pewriter;
using testbytes::TempDir;

namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

std::string quote(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ToolRun ilftool(const TempDir &dir, const std::vector<std::string> &args)
{
    std::string cmd = quote(ILFTOOL_PATH);
    for (const auto &a : args)
        cmd += " " + quote(a);
    const std::string out = dir.path("stdout.txt"), err = dir.path("stderr.txt");
    cmd += " >" + quote(out) + " 2>" + quote(err);
    const int raw = std::system(cmd.c_str());
    ToolRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const Bytes o = TempDir::read(out), e = TempDir::read(err);
    r.out.assign(o.begin(), o.end());
    r.err.assign(e.begin(), e.end());
    return r;
}

// A library of "A" with child "A1", then "B" (pre-order: A 0, A1 1, B 2); B holds two icons.
std::string makeLibrary(const TempDir &dir)
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, asciiBytes("A"));
    tree.addChild(a, asciiBytes("A1"));
    LibraryNode *b = tree.add(nullptr, asciiBytes("B"));
    const Bytes i0 = testbytes::filler(40, 1), i1 = testbytes::filler(50, 2);
    const std::vector<ByteSpan> images = {i0, i1};
    b->block = TIconBlock::fromImages(images);
    const std::string path = dir.path("lib.ilf");
    saveILF(path, tree);
    return path;
}

IlfContents load(const std::string &path)
{
    auto r = loadILF(path);
    return std::move(std::get<IlfContents>(r));
}

std::vector<std::string> titles(const LibraryTree &tree)
{
    std::vector<std::string> t;
    tree.forEachPreorder([&](const LibraryNode &n) { t.push_back(std::string(n.level() * 2, ' ') + ansiToUtf8(n.title)); });
    return t;
}

} // namespace

TEST(IlftoolImport, ModulesBecomeNodesAndFilesJoinOneNode)
{
    TempDir dir;
    const std::string lib = makeLibrary(dir);
    const std::string dll = dir.write("Three.DLL", writePe(coloredGroups(3)).bytes);
    const std::string exe = dir.write("none.Exe", writePe({}).bytes);
    const Bytes icoBytes = icoFile({{{16, 16, 4, 0}, tag(1)}});
    const std::string ico = dir.write("a.ico", icoBytes);
    const std::string bmp = dir.write("b.BMP", bmp24(20, 20, 0xFF0000));

    const ToolRun r = ilftool(dir, {"import", lib, ico, dll, bmp, exe});
    ASSERT_EQ(r.status, 0) << r.err;
    const IlfContents c = load(lib);
    EXPECT_EQ(titles(c.tree), (std::vector<std::string>{"A", "  A1", "B", "Three", "none", "新建标题"}));
    const LibraryNode *three = c.tree.nodeAt(3);
    ASSERT_TRUE(three->block);
    EXPECT_EQ(three->block->Count(), 3);
    EXPECT_EQ(three->block->Size(), 2314);
    ASSERT_TRUE(c.tree.nodeAt(4)->block) << "a module without icons still gets an empty block";
    EXPECT_EQ(c.tree.nodeAt(4)->block->Count(), 0);
    const LibraryNode *fresh = c.tree.nodeAt(5);
    ASSERT_TRUE(fresh->block);
    ASSERT_EQ(fresh->block->Count(), 2);
    EXPECT_EQ(Bytes(fresh->block->image(0)->begin(), fresh->block->image(0)->end()), icoBytes);
    EXPECT_EQ(fresh->block->image(1)->size(), 318u);
    EXPECT_EQ(c.iconTotal, 2 + 3 + 2);
}

TEST(IlftoolImport, NodeOptionPlacesModulesAfterItAndFilesIntoIt)
{
    TempDir dir;
    const std::string lib = makeLibrary(dir);
    const std::string dll = dir.write("m.dll", writePe(coloredGroups(1)).bytes);
    const std::string ico = dir.write("x.ico", testbytes::filler(30, 9));
    const ToolRun r = ilftool(dir, {"import", lib, "--node", "1", dll, ico});
    ASSERT_EQ(r.status, 0) << r.err;
    const IlfContents c = load(lib);
    EXPECT_EQ(titles(c.tree), (std::vector<std::string>{"A", "  A1", "  m", "B"}));
    ASSERT_TRUE(c.tree.nodeAt(1)->block);
    EXPECT_EQ(c.tree.nodeAt(1)->block->Count(), 1);
    EXPECT_EQ(c.tree.nodeAt(2)->block->Count(), 1);

    // Into a node that already has icons: appended after them.
    ASSERT_EQ(ilftool(dir, {"import", lib, ico, "--node", "3"}).status, 0);
    const IlfContents d = load(lib);
    EXPECT_EQ(d.tree.nodeAt(3)->block->Count(), 3);
    EXPECT_EQ(d.tree.nodeAt(3)->block->image(2)->size(), 30u);
}

TEST(IlftoolImport, AnyFailureLeavesTheLibraryUntouched)
{
    TempDir dir;
    const std::string lib = makeLibrary(dir);
    const Bytes before = TempDir::read(lib);
    const std::string dll = dir.write("m.dll", writePe(coloredGroups(1)).bytes);
    const std::string ico = dir.write("x.ico", testbytes::filler(30, 9));
    const std::string text = dir.write("text.bmp", testbytes::str("plain text, not a bitmap"));
    const std::string other = dir.write("notes.txt", testbytes::str("x"));
    struct Case {
        const char *what;
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"missing module", {"import", lib, dll, dir.path("gone.dll")}, 1, "Cannot open file " + dir.path("gone.dll")},
        {"missing icon file", {"import", lib, ico, dir.path("gone.ico")}, 1, "Cannot open file " + dir.path("gone.ico")},
        {"bad bitmap after good files", {"import", lib, dll, ico, text}, 1, "Bitmap image is not valid"},
        {"no such node", {"import", lib, ico, "--node", "3"}, 1, "no node 3"},
        {"unknown file kind", {"import", lib, other}, 2, "not a module, icon or bitmap file"},
        {"no files", {"import", lib}, 2, "usage"},
        {"missing library", {"import", dir.path("none.ilf"), ico}, 1, "Cannot open file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ToolRun r = ilftool(dir, c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(TempDir::read(lib), before);
    }
}

TEST(IlftoolExport, WritesEveryStoredIconNumberedByEntry)
{
    TempDir dir;
    const std::string lib = makeLibrary(dir);
    const Bytes ico = testbytes::filler(30, 9);
    ASSERT_EQ(ilftool(dir, {"import", lib, dir.write("x.ico", ico), dir.write("e.ico", {}), dir.write("y.ico", ico),
                            "--node", "2"}).status, 0);
    const std::string base = dir.path("out");
    const ToolRun r = ilftool(dir, {"export", lib, "--node", "2", base});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(TempDir::read(base + "0000.ico"), testbytes::filler(40, 1));
    EXPECT_EQ(TempDir::read(base + "0002.ico"), ico);
    EXPECT_FALSE(std::filesystem::exists(base + "0003.ico")) << "entry 3 is an empty slot";
    EXPECT_EQ(TempDir::read(base + "0004.ico"), ico);

    const ToolRun none = ilftool(dir, {"export", lib, "--node", "0", base});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("没有图标！"), std::string::npos);
    EXPECT_EQ(ilftool(dir, {"export", lib, base}).status, 2);
    EXPECT_EQ(ilftool(dir, {"export", lib, "--node", "0", dir.path("no/such/dir/x")}).status, 1);
}

TEST(IlftoolRender, PaintsTheIconOverTheBackground)
{
    TempDir dir;
    const std::string lib = makeLibrary(dir);
    // A 16x16 icon: transparent everywhere (mask 1, colour 0).
    Bytes dib = dib32(16, 16, 0);
    std::fill(dib.end() - 64, dib.end(), std::uint8_t{0xFF});
    ASSERT_EQ(ilftool(dir, {"import", lib, "--node", "0", dir.write("t.ico", icoFile({{{16, 16, 32, 0}, dib}}))}).status, 0);
    // Bottom-left pixel of the file (first pixel after the 1078-byte header), as B, G, R.
    auto firstPixel = [](const Bytes &f) { return Bytes(f.begin() + 1078, f.begin() + 1081); };
    struct Case {
        std::vector<std::string> extra;
        Bytes bgr;
    };
    const Case cases[] = {{{}, {255, 255, 255}}, {{"--background", "FF0000"}, {0, 0, 255}}, {{"--background", "00ff80"}, {128, 255, 0}}};
    for (const Case &c : cases) {
        const std::string out = dir.path("out.bmp");
        std::vector<std::string> args = {"render", lib, "--node", "0", "--entry", "0", out};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ToolRun r = ilftool(dir, args);
        ASSERT_EQ(r.status, 0) << r.err;
        const Bytes f = TempDir::read(out);
        ASSERT_EQ(f.size(), 5174u);
        EXPECT_EQ(firstPixel(f), c.bgr);
    }
    EXPECT_EQ(ilftool(dir, {"render", lib, "--node", "1", "--entry", "0", dir.path("o.bmp")}).status, 1);
    EXPECT_EQ(ilftool(dir, {"render", lib, "--node", "2", "--entry", "2", dir.path("o.bmp")}).status, 1);
    EXPECT_EQ(ilftool(dir, {"render", lib, "--node", "0", "--entry", "0", "--background", "red", dir.path("o.bmp")}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.path("o.bmp")));
}

TEST(Ilftool, NewCommandsAnswerHelp)
{
    TempDir dir;
    for (const char *name : {"import", "export", "render"}) {
        const ToolRun r = ilftool(dir, {name, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(std::string("ilftool ") + name), std::string::npos);
    }
}
