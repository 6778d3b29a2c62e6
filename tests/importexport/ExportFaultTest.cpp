// Export commands that fail part-way, at every step of writing a file: the message names the
// file, the files written before stay, whatever stood at the failing name stays byte for byte,
// and the library (on disk and in the window) is untouched.

#include "ImportExportFixture.h"
#include "support/WriteFaults.h"

using namespace importexport;
using pictarium::ActionId;
using writefaults::FaultPoint;
using pictarium::WriteStep;

namespace {

class ExportFault : public Window {
protected:
    std::string lib_;
    Bytes libBytes_;

    // An opened library whose first node, selected, holds three distinct icons.
    void startWithLibrary()
    {
        lib_ = writeLibrary("lib.ilf", {testbytes::ico16(0), testbytes::ico16(1), testbytes::ico16(2)});
        libBytes_ = readFile("lib.ilf");
        startWindow({lib_});
        form->selectNode(node(0));
    }
    void run(ActionId action, const std::string &name, FaultPoint point)
    {
        dialogs->fileAnswers.push_back(std::vector<std::string>{path(name)});
        writefaults::WriteFault fault(point);
        form->runAction(action);
        ASSERT_TRUE(fault.fired()) << point;
    }
    static std::string failureFor(FaultPoint point, const std::string &file)
    {
        const bool writing = point.step == WriteStep::Write || point.step == WriteStep::Flush;
        return (writing ? "Error writing file " : "Cannot create file ") + file;
    }
    void expectLibraryUntouched()
    {
        EXPECT_EQ(readFile("lib.ilf"), libBytes_);
        EXPECT_FALSE(form->FModified);
        EXPECT_EQ(form->FIconTotal, 3);
        EXPECT_EQ(entrySizes(node(0)).size(), 3u);
        EXPECT_EQ(panel(2), "无变化");
    }
};

class ExportAllFault : public ExportFault, public ::testing::WithParamInterface<FaultPoint> {};

TEST_P(ExportAllFault, StopsAtTheFailingFile)
{
    const FaultPoint point = GetParam();
    startWithLibrary();
    const Bytes earlier = testbytes::str("an earlier export");
    writeFile("e0001.ico", earlier);
    run(ActionId::ExportAllIcons, "e.ico", point);

    const int failing = point.occurrence - 1;
    EXPECT_EQ(prompt->texts(), std::vector<std::string>{failureFor(point, path("e000" + std::to_string(failing) + ".ico"))});
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) {
        const std::string name = "e000" + std::to_string(i) + ".ico";
        if (i < failing) {
            EXPECT_EQ(readFile(name), testbytes::ico16(static_cast<unsigned>(i))) << name;
            expected.push_back(name);
        } else if (i == 1) {
            EXPECT_EQ(readFile(name), earlier) << name;
            expected.push_back(name);
        }
    }
    expected.push_back("lib.ilf");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(), expected) << "nothing after the failure, no temporary file";
    EXPECT_EQ(progress->open, 0);
    expectLibraryUntouched();
}

INSTANTIATE_TEST_SUITE_P(EveryStepOfEveryFile, ExportAllFault, ::testing::ValuesIn(writefaults::everyStepOf(3)),
                         [](const auto &row) { return row.param.name(); });

// The commands that write one file, over a file already there.
struct OneFileCase {
    const char *name;
    ActionId action;
    const char *file; // as typed in the dialog, and as written
};

class OneFileFault : public ExportFault, public ::testing::WithParamInterface<std::tuple<OneFileCase, FaultPoint>> {};

TEST_P(OneFileFault, KeepsWhatStoodThere)
{
    const auto &[c, point] = GetParam();
    startWithLibrary();
    selectItems({1});
    const Bytes earlier = testbytes::str("kept");
    writeFile(c.file, earlier);
    run(c.action, c.file, point);

    EXPECT_EQ(prompt->texts(), std::vector<std::string>{failureFor(point, path(c.file))});
    EXPECT_EQ(readFile(c.file), earlier);
    EXPECT_EQ(filesIn(), (std::vector<std::string>{c.file, "lib.ilf"}));
    expectLibraryUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, OneFileFault,
    ::testing::Combine(::testing::Values(OneFileCase{"one_icon", ActionId::ExportOneIcon, "a.ico"},
                                         OneFileCase{"as_icon", ActionId::Export16x16Icon, "b.ico"},
                                         OneFileCase{"as_bitmap", ActionId::SaveAsBmpFile, "c.bmp"}),
                       ::testing::ValuesIn(writefaults::everyStepOf(1))),
    [](const auto &row) { return std::string(std::get<0>(row.param).name) + "_" + std::get<1>(row.param).name(); });

} // namespace
