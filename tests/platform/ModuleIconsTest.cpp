#include "platform/ModuleIcons.h"
#include "support/PeWriter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pictarium;
using namespace pewriter;

namespace {

Bytes toBytes(std::optional<ByteSpan> s) { return s ? Bytes(s->begin(), s->end()) : Bytes{}; }

// A group with one 32x32x32 image of icon `id`, and that icon.
std::vector<Resource> simpleGroup(ResId name, std::uint16_t id)
{
    return {groupIcon(name, groupDir({{32, 32, 32, id}})), icon(id, tag(id))};
}

std::vector<Resource> concat(std::vector<std::vector<Resource>> parts)
{
    std::vector<Resource> all;
    for (auto &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Which icon id each index yields (0 when none), read back from the tag bytes.
std::vector<unsigned> chosenIds(const ModuleIcons &m)
{
    std::vector<unsigned> ids;
    for (std::size_t i = 0; i < m.count(); ++i) {
        const Bytes b = toBytes(m.iconImage(i));
        ids.push_back(b.size() >= 3 && b[0] == 'I' ? unsigned(b[1] | (b[2] << 8)) : 0u);
    }
    return ids;
}

} // namespace

TEST(ModuleIcons, KindIsDecidedByContent)
{
    Bytes mzOnly(0x80, 0);
    mzOnly[0] = 'M';
    mzOnly[1] = 'Z';
    mzOnly[0x3C] = 0x40;
    Bytes le = mzOnly;
    le[0x40] = 'L';
    le[0x41] = 'E';
    Bytes lfanewOutside = mzOnly;
    lfanewOutside[0x3F] = 0x7F;
    const Bytes pe = writePe(simpleGroup(num(1), 1)).bytes;
    const Bytes pe64 = writePe(simpleGroup(num(1), 1), {.pe64 = true}).bytes;
    const Bytes ne = writeNe({{0x800E, 0x8001, groupDir({{32, 32, 4, 1}})}, {0x8003, 0x8001, tag(1)}}).bytes;
    const Bytes ico = icoFile({{{32, 32, 4, 0}, tag(7)}});
    Bytes cursorFile = ico;
    cursorFile[2] = 2;

    struct Case {
        const char *what;
        Bytes file;
        ModuleKind kind;
        std::size_t count;
    };
    const Case cases[] = {
        {"PE32", pe, ModuleKind::PE, 1},
        {"PE32+", pe64, ModuleKind::PE, 1},
        {"NE", ne, ModuleKind::NE, 1},
        {"ICO file", ico, ModuleKind::IconFile, 1},
        {"empty ICO directory still counts", Bytes{0, 0, 1, 0, 0, 0}, ModuleKind::IconFile, 1},
        {"cursor file", cursorFile, ModuleKind::NotModule, 0},
        {"0-byte file", {}, ModuleKind::NotModule, 0},
        {"3 bytes", {0, 0, 1}, ModuleKind::NotModule, 0},
        {"plain DOS program", mzOnly, ModuleKind::NotModule, 0},
        {"LE module", le, ModuleKind::NotModule, 0},
        {"header offset outside the file", lfanewOutside, ModuleKind::NotModule, 0},
        {"text", testbytes::str("hello, world\n"), ModuleKind::NotModule, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ModuleIcons m(c.file);
        EXPECT_EQ(m.kind(), c.kind);
        EXPECT_EQ(m.count(), c.count);
    }
}

TEST(ModuleIcons, GroupsComeNamedFirstThenNumberedInStoredOrder)
{
    for (bool pe64 : {false, true}) {
        SCOPED_TRACE(pe64 ? "PE32+" : "PE32");
        const auto res = concat({simpleGroup(num(9), 90), simpleGroup(named(u"ZED"), 10),
                                 simpleGroup(num(2), 20), simpleGroup(named(u"APP"), 30)});
        const ModuleIcons m(writePe(res, {.pe64 = pe64}).bytes);
        ASSERT_EQ(m.count(), 4u);
        EXPECT_EQ(chosenIds(m), (std::vector<unsigned>{10, 30, 90, 20}));
        EXPECT_EQ(m.group(0)->name.name, u"ZED");
        EXPECT_EQ(m.group(1)->name.name, u"APP");
        EXPECT_EQ(m.group(2)->name.id, 9);
        EXPECT_FALSE(m.iconImage(4));
        EXPECT_FALSE(m.iconImage(static_cast<std::size_t>(-1)));
    }
}

TEST(ModuleIcons, ChoosesTheImageNearest32x32ThenNearest32Bits)
{
    struct Case {
        const char *what;
        std::vector<IconEntry> entries;
        unsigned id;
    };
    const Case cases[] = {
        {"exact size and depth", {{16, 16, 32, 1}, {32, 32, 4, 2}, {32, 32, 32, 3}, {48, 48, 32, 4}}, 3},
        {"deeper wins at equal size", {{32, 32, 24, 1}, {32, 32, 32, 2}, {32, 32, 8, 3}}, 2},
        {"first of equals", {{32, 32, 32, 1}, {32, 32, 32, 2}}, 1},
        {"16 and 48 tie: first", {{48, 48, 32, 1}, {16, 16, 32, 2}}, 1},
        {"16 and 48 tie: depth decides", {{16, 16, 4, 1}, {48, 48, 32, 2}}, 2},
        {"bit count 0 loses to 8", {{32, 32, 0, 1}, {32, 32, 8, 2}}, 2},
        {"bit count 0 only", {{32, 32, 0, 5}}, 5},
        {"only 16x16", {{16, 16, 8, 7}}, 7},
        {"only 256 (stored as 0)", {{0, 0, 32, 8}}, 8},
        {"256 is farther than 64", {{0, 0, 32, 1}, {64, 64, 32, 2}}, 2},
        {"non-square: first of equal distance", {{32, 16, 32, 1}, {24, 24, 32, 2}}, 1},
        {"non-square pairs differ: later closer depth ignored", {{40, 32, 4, 1}, {32, 40, 32, 2}}, 1},
        {"deeper than 32 is farther", {{32, 32, 48, 1}, {32, 32, 24, 2}}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Resource> res{groupIcon(num(1), groupDir(c.entries))};
        for (const auto &e : c.entries)
            res.push_back(icon(e.id, tag(e.id)));
        const ModuleIcons m(writePe(res).bytes);
        EXPECT_EQ(chosenIds(m), std::vector<unsigned>{c.id});
    }
}

TEST(ModuleIcons, FirstLanguageOfGroupAndIconIsUsed)
{
    const std::vector<Resource> res = {
        groupIcon(num(1), groupDir({{32, 32, 32, 5}}), 0x804),
        groupIcon(num(1), groupDir({{32, 32, 32, 6}}), 0x409),
        icon(6, tag(6), 0x409),
        icon(5, tag(500), 0x804),
        icon(5, tag(501), 0x409),
    };
    const ModuleIcons m(writePe(res).bytes);
    ASSERT_EQ(m.count(), 1u);
    EXPECT_EQ(toBytes(m.iconImage(0)), tag(500));
    const auto g = m.group(0);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->language, 0x804);
    ASSERT_EQ(g->images.size(), 1u);
    EXPECT_EQ(g->images[0].language, 0x804);
}

TEST(ModuleIcons, CursorGroupsAndOtherTypesDoNotCount)
{
    const std::vector<Resource> res = {
        {num(12), num(1), 0x409, groupDir({{32, 32, 1, 1}})}, // RT_GROUP_CURSOR
        {num(1), num(1), 0x409, tag(1)},                       // RT_CURSOR
        {named(u"PNG"), num(3), 0x409, tag(3)},
        groupIcon(num(3), groupDir({{32, 32, 32, 2}})),
        icon(2, tag(2)),
    };
    const ModuleIcons m(writePe(res).bytes);
    EXPECT_EQ(m.count(), 1u);
    EXPECT_EQ(chosenIds(m), std::vector<unsigned>{2});
}

TEST(ModuleIcons, WholeGroupKeepsDirectoryAndEveryImage)
{
    const Bytes dir = groupDir({{16, 16, 8, 11, 24}, {32, 32, 32, 12, 24}, {0, 0, 32, 13, 24}});
    const std::vector<Resource> res = {
        groupIcon(named(u"MAIN"), dir, 0x407), icon(11, tag(11)), icon(13, tag(13), 0x407)};
    const ModuleIcons m(writePe(res).bytes);
    const auto g = m.group(0);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->name.name, u"MAIN");
    EXPECT_FALSE(g->name.id);
    EXPECT_EQ(Bytes(g->directory.begin(), g->directory.end()), dir);
    ASSERT_EQ(g->images.size(), 3u);
    EXPECT_EQ(g->images[0].id, 11);
    EXPECT_EQ(toBytes(g->images[0].data), tag(11));
    EXPECT_FALSE(g->images[1].data) << "icon 12 is missing";
    EXPECT_EQ(g->images[2].language, 0x407);
    EXPECT_EQ(toBytes(g->images[2].data), tag(13));
    // The chosen 32x32 image is the missing one: no icon, although others exist.
    EXPECT_FALSE(m.iconImage(0));
}

// Each row damages one spot of a module with three groups; only the damaged index (or the
// whole module, as noted) loses its icon.
TEST(ModuleIcons, DamageCostsOnlyTheIconConcerned)
{
    const auto res = concat({simpleGroup(num(1), 1), simpleGroup(num(2), 2), simpleGroup(num(3), 3)});
    const PeImage good = writePe(res);
    // Resource order: group1, icon1, group2, icon2, group3, icon3.
    struct Case {
        const char *what;
        std::function<void(Bytes &)> damage;
        std::size_t count;
        std::vector<unsigned> ids;
    };
    const Case cases[] = {
        {"intact", [](Bytes &) {}, 3, {1, 2, 3}},
        {"image size past the section", [&](Bytes &f) { put32(f, good.dataEntry[3] + 4, 0x7FFFFFF0); }, 3, {1, 0, 3}},
        {"image RVA in no section", [&](Bytes &f) { put32(f, good.dataEntry[3], 0x90000000); }, 3, {1, 0, 3}},
        {"image RVA in the code section, beyond its raw data", [&](Bytes &f) { put32(f, good.dataEntry[3], 0x11FE); }, 3, {1, 0, 3}},
        {"group directory reserved != 0", [&](Bytes &f) { f[good.data[2]] = 1; }, 3, {1, 0, 3}},
        {"group directory type 2", [&](Bytes &f) { f[good.data[2] + 2] = 2; }, 3, {1, 0, 3}},
        {"group directory count beyond its data", [&](Bytes &f) { put16(f, good.data[2] + 4, 40); }, 3, {1, 0, 3}},
        {"group directory count 0", [&](Bytes &f) { put16(f, good.data[2] + 4, 0); }, 3, {1, 0, 3}},
        {"group directory shorter than its header", [&](Bytes &f) { put32(f, good.dataEntry[2] + 4, 3); }, 3, {1, 0, 3}},
        {"no resource directory entry", [&](Bytes &f) { put32(f, 0x44 + 20 + 92, 2); }, 0, {}},
        {"resource RVA 0", [&](Bytes &f) { put32(f, 0x44 + 20 + 96 + 16, 0); }, 0, {}},
        {"unknown optional header magic", [&](Bytes &f) { put16(f, 0x44 + 20, 0x107); }, 0, {}},
        {"no sections", [&](Bytes &f) { put16(f, 0x44 + 2, 0); }, 0, {}},
        {"section table outside the file", [&](Bytes &f) { put16(f, 0x44 + 16, 0xFFF0); }, 0, {}},
        {"group type directory claims 65535 more numbered entries",
         [&](Bytes &f) { put16(f, good.typeDirs[0] + 14, 0xFFFF); }, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Bytes f = good.bytes;
        c.damage(f);
        const ModuleIcons m(f);
        if (std::string(c.what).starts_with("group type directory claims")) {
            // Entries past the resource data do not exist: the count stops at the end of it.
            EXPECT_GE(m.count(), 3u);
            EXPECT_LT(m.count(), 0xFFFFu);
            EXPECT_EQ(chosenIds(m)[0], 1u);
            for (std::size_t i = 0; i < m.count(); ++i)
                (void)m.group(i);
            continue;
        }
        EXPECT_EQ(m.count(), c.count);
        EXPECT_EQ(chosenIds(m), c.ids);
    }
}

TEST(ModuleIcons, TreeLoopsAndMisplacedEntriesEndWithoutIcons)
{
    const PeImage good = writePe(simpleGroup(num(1), 1));
    // The root's first entry (RT_ICON) points back at the root; the group's language
    // directory entry points at a directory instead of data.
    Bytes loop = good.bytes;
    put32(loop, good.rsrc + 16 + 8 + 4, 0x80000000u);
    const ModuleIcons a(loop);
    EXPECT_EQ(a.count(), 1u);
    EXPECT_FALSE(a.iconImage(0));

    Bytes dirAsData = good.bytes;
    // Group name directory -> its only entry's target made a directory (the root).
    const std::size_t groupTypeEntries = good.typeDirs[0] + 16;
    const std::uint32_t nameDir = (dirAsData[groupTypeEntries + 4] | dirAsData[groupTypeEntries + 5] << 8) & 0xFFFF;
    put32(dirAsData, good.rsrc + nameDir + 16 + 4, 0x80000000u);
    const ModuleIcons b(dirAsData);
    EXPECT_EQ(b.count(), 1u);
    EXPECT_FALSE(b.iconImage(0));
    EXPECT_FALSE(b.group(0));
}

// Every prefix of a module and every single-byte change of its headers and directories is
// read without leaving the file (the sanitizer build checks) and never finds more groups.
TEST(ModuleIcons, TruncatedAndAlteredModulesStayInBounds)
{
    const auto res = concat({simpleGroup(named(u"A"), 1), simpleGroup(num(2), 2)});
    for (bool pe64 : {false, true}) {
        const Bytes pe = writePe(res, {.pe64 = pe64}).bytes;
        for (std::size_t n = 0; n < pe.size(); n += 3) {
            const ModuleIcons m(Bytes(pe.begin(), pe.begin() + static_cast<std::ptrdiff_t>(n)));
            EXPECT_LE(m.count(), 2u);
            for (std::size_t i = 0; i < m.count(); ++i) {
                (void)m.iconImage(i);
                (void)m.group(i);
            }
        }
        const std::size_t resourceEnd = 0x400 + 0x100;
        for (std::size_t at = 0; at < resourceEnd; ++at) {
            for (std::uint8_t v : {std::uint8_t{0}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
                Bytes f = pe;
                f[at] = v;
                const ModuleIcons m(std::move(f));
                for (std::size_t i = 0; i < m.count(); ++i) {
                    (void)m.iconImage(i);
                    (void)m.group(i);
                }
            }
        }
    }
}

TEST(ModuleIcons, NeModulesUseTheGroupBlockAndShiftedOffsets)
{
    const std::vector<NeResource> res = {
        {0x8003, 0x8001, tag(1, 40)},
        {0x800E, 0x8005, groupDir({{16, 16, 4, 1}, {32, 32, 4, 2}})},
        {0x8003, 0x8002, tag(2, 40)},
        {0x800E, 0, groupDir({{32, 32, 4, 1}}), "MAINICON"},
    };
    for (unsigned shift : {0u, 4u, 9u}) {
        SCOPED_TRACE(shift);
        const NeImage ne = writeNe(res, shift);
        const ModuleIcons m(ne.bytes);
        ASSERT_EQ(m.kind(), ModuleKind::NE);
        ASSERT_EQ(m.count(), 2u);
        // Lengths are rounded up to the alignment unit: the image comes back with padding.
        const Bytes first = toBytes(m.iconImage(0));
        ASSERT_GE(first.size(), 40u);
        EXPECT_EQ(Bytes(first.begin(), first.begin() + 40), tag(2, 40));
        EXPECT_EQ(m.group(0)->name.id, 5);
        EXPECT_EQ(m.group(1)->name.name, u"MAINICON");
        const Bytes second = toBytes(m.iconImage(1));
        ASSERT_GE(second.size(), 40u);
        EXPECT_EQ(Bytes(second.begin(), second.begin() + 40), tag(1, 40));
    }
}

TEST(ModuleIcons, NeEdgeCases)
{
    const NeResource group{0x800E, 0x8001, groupDir({{32, 32, 4, 1}})};
    const NeResource image{0x8003, 0x8001, tag(1, 40)};
    {
        SCOPED_TRACE("groups without any icon block count 0");
        EXPECT_EQ(ModuleIcons(writeNe({group, group}).bytes).count(), 0u);
    }
    {
        SCOPED_TRACE("the last resource may end before its rounded length");
        Bytes f = writeNe({group, image}, 9).bytes;
        const ModuleIcons m(f);
        EXPECT_EQ(toBytes(m.iconImage(0)), tag(1, 40));
    }
    {
        SCOPED_TRACE("a resource table cut short inside the records");
        const NeImage ne = writeNe({image, group});
        Bytes f(ne.bytes.begin(), ne.bytes.begin() + static_cast<std::ptrdiff_t>(ne.nameInfo[1] + 4));
        const ModuleIcons m(f);
        EXPECT_EQ(m.count(), 0u);
    }
    {
        SCOPED_TRACE("a huge group count is capped by the records present");
        NeImage ne = writeNe({image, group});
        put16(ne.bytes, ne.nameInfo[1] - 6, 0xFFFF);
        const ModuleIcons m(ne.bytes);
        EXPECT_LT(m.count(), 0xFFFFu);
        for (std::size_t i = 0; i < m.count(); ++i)
            (void)m.iconImage(i);
    }
    {
        SCOPED_TRACE("huge alignment shift");
        NeImage ne = writeNe({group, image});
        put16(ne.bytes, ne.table, 60);
        const ModuleIcons m(ne.bytes);
        EXPECT_EQ(m.count(), 1u);
        EXPECT_FALSE(m.iconImage(0));
    }
    {
        SCOPED_TRACE("every prefix stays in bounds");
        const Bytes f = writeNe({image, group, {0x800E, 0, groupDir({{32, 32, 4, 1}}), "X"}}).bytes;
        for (std::size_t n = 0; n <= f.size(); ++n) {
            const ModuleIcons m(Bytes(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n)));
            for (std::size_t i = 0; i < m.count(); ++i) {
                (void)m.iconImage(i);
                (void)m.group(i);
            }
        }
    }
}

TEST(ModuleIcons, IconFileGivesItsImageNearest32x32)
{
    const Bytes ico = icoFile({{{16, 16, 32, 0}, tag(16)}, {{32, 32, 8, 0}, tag(328)}, {{32, 32, 32, 0}, tag(32)}});
    const ModuleIcons m(ico);
    ASSERT_EQ(m.count(), 1u);
    EXPECT_EQ(toBytes(m.iconImage(0)), tag(32));
    EXPECT_FALSE(m.iconImage(1));
    EXPECT_FALSE(m.group(0));

    Bytes cut = ico;
    cut.resize(cut.size() - 1); // the chosen image is the last; it no longer fits
    EXPECT_FALSE(ModuleIcons(cut).iconImage(0));
}
