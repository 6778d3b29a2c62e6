#include "library/Iconfat.h"
#include "platform/Codepage.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

#include <random>

using namespace pictarium;
using testbytes::filler;
using testbytes::IlfBuilder;
using testbytes::Record;

namespace {

// One line per node: level, title (UTF-8), and the block's bytes or "-".
std::vector<std::string> describe(const LibraryTree &tree)
{
    std::vector<std::string> out;
    tree.forEachPreorder([&](const LibraryNode &n) {
        std::string s = std::to_string(n.level()) + " " + ansiToUtf8(n.title) + " ";
        if (!n.block)
            s += "-";
        else
            s += std::to_string(n.block->Count()) + ":" + std::string(n.block->bytes().begin(), n.block->bytes().end());
        out.push_back(s);
    });
    return out;
}

const IlfContents &contentsOf(const IlfReadResult &r)
{
    if (auto *bad = std::get_if<IlfRejected>(&r))
        ADD_FAILURE() << "rejected: " << bad->reason;
    if (auto *lvl = std::get_if<IlfInvalidLevel>(&r))
        ADD_FAILURE() << lvl->message();
    static const IlfContents none;
    auto *ok = std::get_if<IlfContents>(&r);
    return ok ? *ok : none;
}

std::int32_t le32At(const Bytes &b, std::size_t at) { return *ByteView(b).i32(at); }

LibraryTree sampleTree()
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, utf8ToAnsi("系统图标"));
    LibraryNode *b = tree.addChild(a, testbytes::str("shell32"));
    b->block = TIconBlock::parse(testbytes::block({filler(766, 1), {}, filler(766, 2)}));
    tree.addChild(a, testbytes::str("empty"));
    LibraryNode *c = tree.add(nullptr, testbytes::str("zero count"));
    c->block = TIconBlock();
    LibraryNode *d = tree.addChild(c, testbytes::str("random"));
    Bytes noise(3000);
    std::mt19937 rng(7);
    for (auto &x : noise)
        x = static_cast<std::uint8_t>(rng());
    d->block = TIconBlock::parse(testbytes::block({noise}));
    return tree;
}

} // namespace

TEST(IlfWriter, EmptyTreeIsTheBareHeader)
{
    const Bytes f = serializeILF(LibraryTree{});
    ASSERT_EQ(f.size(), 44u);
    EXPECT_EQ((Bytes(f.begin(), f.begin() + 5)), (Bytes{')', ',', '&', '2', '0'}));
    for (std::size_t at : {8, 12, 16, 20})
        EXPECT_EQ(le32At(f, at), 44) << at;
    EXPECT_TRUE(std::get_if<IlfContents>(&(const IlfReadResult &)parseILF(f)));
}

TEST(IlfWriter, OneRootWithoutIcons)
{
    LibraryTree tree;
    tree.add(nullptr, testbytes::str("A"));
    const Bytes f = serializeILF(tree);
    ASSERT_EQ(f.size(), 51u);
    EXPECT_EQ(le32At(f, 12), 47);
    EXPECT_EQ(le32At(f, 16), 47);
    EXPECT_EQ(le32At(f, 20), 51);
    EXPECT_EQ((Bytes(f.begin() + 44, f.end())), (Bytes{'A', '\r', '\n', 0, 0, 0, 0}));
}

TEST(IlfWriter, RecordKinds)
{
    LibraryTree tree;
    LibraryNode *zero = tree.add(nullptr, testbytes::str("Z"));
    zero->block = TIconBlock();
    LibraryNode *packed = tree.add(nullptr, testbytes::str("P"));
    const Bytes icons = testbytes::block({Bytes(766, 0x11), Bytes(766, 0x22)});
    packed->block = TIconBlock::parse(icons);
    const Bytes f = serializeILF(tree);

    std::size_t at = 44 + 6;
    // Count 0 block: stored raw as 4, 4, then the four zero bytes of Count.
    EXPECT_EQ((Bytes(f.begin() + at, f.begin() + at + 12)), (Bytes{4, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}));
    at += 12;
    // Compressible block: N, C, zlib stream of the payload at the default level.
    const Bytes payload(icons.begin() + 4, icons.end());
    const Bytes z = testbytes::zlibCompress(payload);
    EXPECT_EQ(le32At(f, at), static_cast<std::int32_t>(payload.size()));
    EXPECT_EQ(le32At(f, at + 4), static_cast<std::int32_t>(z.size()));
    EXPECT_EQ((Bytes(f.begin() + at + 8, f.end())), z);
}

TEST(IlfWriter, IncompressiblePayloadIsStoredRaw)
{
    LibraryTree tree = sampleTree();
    const Bytes f = serializeILF(tree);
    const auto parsed = parseILF(f);
    auto &c = contentsOf(parsed);
    EXPECT_EQ(describe(c.tree), describe(tree));
    // The random node's record is the last one: N, then the whole block unchanged.
    const ByteSpan block = tree.nodeAt(4)->block->bytes();
    const Bytes tail(f.end() - static_cast<std::ptrdiff_t>(block.size() + 4), f.end());
    EXPECT_EQ(le32At(tail, 0), static_cast<std::int32_t>(block.size() - 4));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), tail.begin() + 4));
}

TEST(IlfWriter, BytesDoNotDependOnThreadCount)
{
    LibraryTree tree;
    for (unsigned i = 0; i < 300; ++i) {
        LibraryNode *n = tree.add(nullptr, testbytes::str("n" + std::to_string(i)));
        if (i % 7)
            n->block = TIconBlock::parse(testbytes::block({filler(766, i), filler(318, i + 1)}));
    }
    const Bytes one = serializeILF(tree, 1);
    EXPECT_EQ(serializeILF(tree, 2), one);
    EXPECT_EQ(serializeILF(tree, 5), one);
    EXPECT_EQ(describe(contentsOf(parseILF(one)).tree), describe(tree));
}

TEST(IlfReader, ReadsLibrariesOfAnyConformingWriter)
{
    const Bytes p1 = testbytes::payload({filler(766, 3), {}, filler(20, 4)});
    const Bytes p2 = testbytes::payload({});
    struct Case {
        const char *name;
        Bytes file;
        std::vector<std::string> expected;
        std::int32_t total;
    };
    auto blockText = [](const Bytes &payload) {
        Bytes whole;
        testbytes::le32(whole, static_cast<std::int64_t>(payload.size()));
        testbytes::append(whole, payload);
        return std::string(whole.begin(), whole.end());
    };
    const std::string b1 = "3:" + blockText(p1), b2 = "0:" + blockText(p2);
    const std::vector<Case> cases = {
        {"v2 raw and compressed, CRLF",
         IlfBuilder{}.line("A").line("\tB").line("C").record(Record::Raw, p1).record(Record::None).record(Record::Compressed, p1).build(),
         {"0 A " + b1, "1 B -", "0 C " + b1}, 6},
        {"v1 records",
         IlfBuilder('1').line("A").line("B").record(Record::None).record(Record::V1, p1).build(),
         {"0 A -", "0 B " + b1}, 3},
        {"LF, CR and no final terminator",
         IlfBuilder{}.line("A", "\n").line("\tB", "\r").line("\t\tC", "").record(Record::None).record(Record::Raw, p2).record(Record::None).build(),
         {"0 A -", "1 B " + b2, "2 C -"}, 0},
        {"spaces count as tabs",
         IlfBuilder{}.line("A").line(" B").line("\t C").line("D").record(Record::None).record(Record::None).record(Record::None).record(Record::None).build(),
         {"0 A -", "1 B -", "2 C -", "0 D -"}, 0},
        {"climbing several levels",
         IlfBuilder{}.line("A").line("\tB").line("\t\tC").line("\tD").line("E").record(Record::None).record(Record::None).record(Record::None).record(Record::None).record(Record::None).build(),
         {"0 A -", "1 B -", "2 C -", "1 D -", "0 E -"}, 0},
        {"first line with tabs is a root",
         IlfBuilder{}.line("\t\tA").line("\tB").record(Record::None).record(Record::None).build(),
         {"0 A -", "1 B -"}, 0},
        {"a NUL byte ends the text",
         IlfBuilder{}.line("A").line(std::string_view("B\0C", 3)).record(Record::None).record(Record::None).build(),
         {"0 A -", "0 B -"}, 0},
        {"any version byte but 1 reads version-2 records",
         IlfBuilder('7').line("A").record(Record::Compressed, p1).build(), {"0 A " + b1}, 3},
        {"GBK title",
         IlfBuilder{}.line("\xcf\xb5\xcd\xb3").record(Record::None).build(), {"0 系统 -"}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto result = parseILF(c.file);
        const auto &contents = contentsOf(result);
        EXPECT_EQ(describe(contents.tree), c.expected);
        EXPECT_EQ(contents.iconTotal, c.total);
    }
}

TEST(IlfReader, InvalidLevelRejectsTheWholeFile)
{
    const Bytes f = IlfBuilder{}.line("A").line("\t\t子").record(Record::None).record(Record::None).build();
    auto result = parseILF(f);
    auto *bad = std::get_if<IlfInvalidLevel>(&result);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->level, 2);
    // The title is bytes in the file; shown converted from the ANSI code page.
    EXPECT_EQ(bad->message(), "Invalid level (2) for item \"" + ansiToUtf8(testbytes::str("子")) + "\"");

    const Bytes g = IlfBuilder{}.line("\t\tA").line("\t\tB").record(Record::None).record(Record::None).build();
    auto second = parseILF(g);
    ASSERT_TRUE(std::get_if<IlfInvalidLevel>(&second)) << "a root read from a tabbed line has level 0";
}

TEST(IlfReader, HeaderChecksRejectTheFile)
{
    const Bytes good = IlfBuilder{}.line("A").record(Record::None).build();
    struct Case { const char *name; Bytes file; };
    Bytes badMagic = good;
    badMagic[1] = '.';
    Bytes sizeOneLess = good;
    sizeOneLess[20] -= 1;
    Bytes extraByte = good;
    extraByte.push_back(0);
    for (const auto &c : {Case{"short", Bytes(good.begin(), good.begin() + 43)}, Case{"magic", badMagic},
                          Case{"FileSize one less", sizeOneLess}, Case{"trailing byte", extraByte}, Case{"empty", {}}})
        EXPECT_TRUE(std::holds_alternative<IlfRejected>(parseILF(c.file))) << c.name;
}

TEST(IlfReader, InconsistentInsidesAreRejectedOrConfinedToOneNode)
{
    const Bytes p = testbytes::payload({filler(50, 1), filler(60, 2)});
    // Header field patches: (offset, value).
    struct Patch { const char *name; std::size_t at; std::int64_t value; };
    const Bytes base = IlfBuilder{}.line("A").line("B").record(Record::Raw, p).record(Record::Compressed, p).build();
    for (auto c : {Patch{"text end before text offset", 12, 40}, Patch{"text past the file", 12, 1 << 30},
                   Patch{"record offset past the file", 16, 1 << 30}, Patch{"negative record offset", 16, -4},
                   Patch{"record offset at the end", 16, static_cast<std::int64_t>(base.size())},
                   Patch{"first N negative", 50, -1}, Patch{"first C negative", 54, -1},
                   Patch{"first C past the file", 54, 1 << 29}}) {
        Bytes f = base;
        ByteWriter(f).patchI32(c.at, static_cast<std::int32_t>(c.value));
        EXPECT_TRUE(std::holds_alternative<IlfRejected>(parseILF(f))) << c.name;
    }

    // Damage confined to one record: that node loses (some) icons, the others keep theirs.
    struct Damage { const char *name; Bytes file; std::size_t keptInA; bool aHasBlock; };
    Bytes liar = testbytes::payload({filler(50, 1), filler(60, 2)});
    ByteWriter(liar).patchI32(58, 1000); // second entry claims more than the payload holds
    Bytes garbage(30, 0x55);
    std::vector<Damage> cases = {
        {"entries do not add up", IlfBuilder{}.line("A").line("B").record(Record::Raw, liar).record(Record::Compressed, p).build(), 1, true},
        {"compressed bytes that do not inflate", [&] {
             IlfBuilder b;
             b.line("A").line("B");
             testbytes::le32(b.records, 500);
             testbytes::le32(b.records, 30);
             testbytes::append(b.records, garbage);
             b.record(Record::Compressed, p);
             return b.build();
         }(), 0, false},
        {"stored length above N is skipped", [&] {
             IlfBuilder b;
             b.line("A").line("B");
             testbytes::le32(b.records, 10);
             testbytes::le32(b.records, 30);
             testbytes::append(b.records, garbage);
             b.record(Record::Compressed, p);
             return b.build();
         }(), 0, false},
        {"stored length 0", [&] {
             IlfBuilder b;
             b.line("A").line("B");
             testbytes::le32(b.records, 10);
             testbytes::le32(b.records, 0);
             b.record(Record::Compressed, p);
             return b.build();
         }(), 0, false},
        {"claims more than zlib can expand", [&] {
             IlfBuilder b;
             b.line("A").line("B");
             testbytes::le32(b.records, 0x7fffffff);
             testbytes::le32(b.records, 30);
             testbytes::append(b.records, garbage);
             b.record(Record::Compressed, p);
             return b.build();
         }(), 0, false},
        {"payload too short for Count", IlfBuilder{}.line("A").line("B").record(Record::Raw, Bytes{1, 2}).record(Record::Compressed, p).build(), 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto r = parseILF(c.file);
        const auto &contents = contentsOf(r);
        ASSERT_EQ(contents.tree.count(), 2u);
        const LibraryNode *a = contents.tree.nodeAt(0);
        EXPECT_EQ(a->block.has_value(), c.aHasBlock);
        if (a->block) {
            EXPECT_EQ(static_cast<std::size_t>(a->block->Count()), c.keptInA);
            EXPECT_TRUE(TIconBlock::parse(a->block->bytes())) << "salvaged block is well-formed";
        }
        EXPECT_EQ(contents.tree.nodeAt(1)->block->Count(), 2);
        EXPECT_FALSE(checkILF(c.file).empty());
    }
    EXPECT_TRUE(checkILF(base).empty());
}

TEST(IlfReader, EveryTruncationAndEveryByteFlipIsHandled)
{
    // No crash and no read outside the file (the sanitizer build watches), and a truncated
    // file with a fixed-up FileSize never yields more than the original.
    const Bytes good = serializeILF(sampleTree());
    for (std::size_t len = 0; len < good.size(); ++len) {
        Bytes f(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len));
        if (len >= 44)
            ByteWriter(f).patchI32(20, static_cast<std::int32_t>(len));
        auto r = parseILF(f);
        if (auto *c = std::get_if<IlfContents>(&r)) {
            EXPECT_LE(totalIcons(c->tree), 3) << len;
        }
    }
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (std::uint8_t flip : {0x01, 0x80, 0xff}) {
            Bytes f = good;
            f[at] ^= flip;
            (void)parseILF(f);
            (void)checkILF(f);
        }
    }
}

TEST(IlfRoundTrip, RandomTreesReadBackIdentical)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 20; ++round) {
        LibraryTree tree;
        std::vector<LibraryNode *> nodes;
        const int count = 1 + static_cast<int>(rng() % 60);
        for (int i = 0; i < count; ++i) {
            LibraryNode *parent = nodes.empty() || rng() % 3 == 0 ? nullptr : nodes[rng() % nodes.size()];
            Bytes title;
            for (unsigned k = rng() % 12; k > 0; --k) {
                std::uint8_t ch = static_cast<std::uint8_t>(0x21 + rng() % 0xde);
                title.push_back(ch);
            }
            LibraryNode *n = tree.addChild(parent, title);
            switch (rng() % 4) {
            case 0: break;
            case 1: n->block = TIconBlock(); break;
            default: {
                std::vector<Bytes> images;
                for (unsigned k = rng() % 6; k > 0; --k)
                    images.push_back(rng() % 5 == 0 ? Bytes{} : filler(rng() % 2000, rng()));
                n->block = TIconBlock::parse(testbytes::block(images));
            }
            }
            nodes.push_back(n);
        }
        const Bytes f = serializeILF(tree);
        auto r = parseILF(f);
        const auto &c = contentsOf(r);
        ASSERT_EQ(describe(c.tree), describe(tree)) << "round " << round;
        EXPECT_EQ(c.iconTotal, totalIcons(tree));
        EXPECT_EQ(serializeILF(c.tree), f);
        EXPECT_TRUE(checkILF(f).empty());
    }
}

TEST(Iconfat, MagicAndBaseName)
{
    TILFHeader h;
    EXPECT_FALSE(IsILFMagic(h));
    SetILFMagic(h);
    EXPECT_TRUE(IsILFMagic(h));
    EXPECT_EQ(h.Version, '2');
    h.Version = 'x';
    EXPECT_TRUE(IsILFMagic(h)) << "only the signature is tested";

    struct Case { const char *path, *base; };
    for (auto c : {Case{"C:\\Tools\\my.app.dll", "my"}, Case{"D:\\x.y\\PROGRAM.EXE", "PROGRAM"},
                   Case{"C:\\bin\\NoDot", "NoDot"}, Case{"/usr/lib/x.y/lib.so.1", "lib"},
                   Case{"plain.exe", "plain"}, Case{"dir/", ""}})
        EXPECT_EQ(ExtractBaseName(c.path), c.base) << c.path;
}
