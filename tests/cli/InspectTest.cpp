#include "library/Iconfat.h"
#include "platform/FileIO.h"
#include "support/RunTool.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

using namespace pictarium;
using testbytes::IlfBuilder;
using testbytes::Record;

namespace {

struct Workspace {
    std::filesystem::path dir;
    Workspace()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ilftool-XXXXXX").string();
        dir = mkdtemp(pattern.data());
    }
    ~Workspace() { std::filesystem::remove_all(dir); }
    std::string write(const std::string &name, const Bytes &bytes) const
    {
        const std::string p = (dir / name).string();
        writeFileAtomically(p, bytes);
        return p;
    }
    std::string path(const std::string &name) const { return (dir / name).string(); }
};

testtool::Result ilftool(const std::vector<std::string> &args) { return testtool::run(ILFTOOL_PATH, args); }

} // namespace

TEST(IlfTool, NewInfoAndTree)
{
    Workspace ws;
    const std::string lib = ws.path("new.ilf");
    ASSERT_EQ(ilftool({"new", lib}).status, 0);
    EXPECT_EQ(readWholeFile(lib).size(), 44u);
    auto info = ilftool({"info", lib});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "version: 2\ntext-bytes: 0\nrecord-offset: 44\nfile-size: 44\nnodes: 0\nicons: 0\n");
    EXPECT_EQ(ilftool({"tree", lib, "--json"}).out, "{\"nodes\":[]}\n");
}

TEST(IlfTool, TreeJsonShowsEntriesWithCrc)
{
    Workspace ws;
    const Bytes image = testbytes::str("123456789"); // CRC-32 check value cbf43926
    const std::string lib = ws.write("t.ilf", IlfBuilder{}
                                                  .line("\xcf\xb5\xcd\xb3\"x\"")
                                                  .line("\tkid")
                                                  .record(Record::Raw, testbytes::payload({image, {}}))
                                                  .record(Record::None)
                                                  .build());
    auto r = ilftool({"tree", lib, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "{\"nodes\":[{\"index\":0,\"level\":0,\"title\":\"系统\\\"x\\\"\""
                         ",\"count\":2,\"size\":21,\"entries\":[{\"size\":9,\"crc32\":\"cbf43926\"},"
                         "{\"size\":0,\"crc32\":\"00000000\"}]},"
                         "{\"index\":1,\"level\":1,\"title\":\"kid\",\"count\":null,\"size\":null,\"entries\":null}]}\n");
    auto plain = ilftool({"tree", lib});
    EXPECT_NE(plain.out.find("  kid (0)"), std::string::npos) << plain.out;
}

TEST(IlfTool, ErrorsAndExitStatus)
{
    Workspace ws;
    Bytes bad = IlfBuilder{}.line("A").record(Record::None).build();
    bad[20] ^= 1;
    const std::string rejected = ws.write("bad.ilf", bad);
    const std::string level = ws.write("level.ilf", IlfBuilder{}.line("A").line("\t\tB").record(Record::None).record(Record::None).build());
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string stderrHas;
    };
    const std::vector<Case> cases = {
        {{"info", rejected}, 1, "File Error!!"},
        {{"tree", level}, 1, "Invalid level (2) for item \"B\""},
        {{"info", ws.path("missing.ilf")}, 1, "Cannot open file"},
        {{"new", ws.path("no/such/dir/x.ilf")}, 1, "Cannot create file"},
        {{"info"}, 2, "usage: ilftool info LIB"},
        {{"tree", rejected, "--xml"}, 2, "unknown option --xml"},
        {{"frobnicate"}, 2, "unknown command"},
        {{}, 2, "Commands:"},
    };
    for (const auto &c : cases) {
        auto r = ilftool(c.args);
        EXPECT_EQ(r.status, c.status) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_NE(r.err.find(c.stderrHas), std::string::npos) << r.err;
    }
    for (const char *cmd : {"info", "tree", "new", "check"}) {
        auto r = ilftool({cmd, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(std::string("usage: ilftool ") + cmd), std::string::npos);
    }
}

TEST(IlfTool, CheckReportsDamagedRecords)
{
    Workspace ws;
    Bytes liar = testbytes::payload({testbytes::filler(50, 1), testbytes::filler(60, 2)});
    ByteWriter(liar).patchI32(58, 1000);
    const std::string damaged = ws.write("d.ilf", IlfBuilder{}.line("A").line("B").record(Record::Raw, liar).record(Record::None).build());
    auto r = ilftool({"check", damaged});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("node 0: entries do not add up"), std::string::npos) << r.out;

    // What the reader salvaged, written back, is sound.
    auto salvaged = parseILF(readWholeFile(damaged));
    const std::string sound = ws.write("s.ilf", serializeILF(std::get<IlfContents>(salvaged).tree));
    auto ok = ilftool({"check", sound});
    EXPECT_EQ(ok.status, 0) << ok.out;
    EXPECT_EQ(ilftool({"check", ws.path("missing.ilf")}).status, 1);
}
