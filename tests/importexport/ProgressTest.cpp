// The program's progress dialog: one per run, cancellable between files, gone at the end.

#include "app/Progress.h"

#include <QProgressDialog>
#include <QWidget>
#include <gtest/gtest.h>

using namespace pictarium;

namespace {

TEST(QtProgress, CancelStopsTheRunAndEveryLaterStep)
{
    QWidget window;
    QtProgressService service(&window);
    {
        ProgressRun run(service, "导入位图文件", 3);
        auto dialogs = window.findChildren<QProgressDialog *>();
        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_EQ(dialogs[0]->windowTitle(), QStringLiteral("导入位图文件"));
        EXPECT_EQ(dialogs[0]->maximum(), 3);
        EXPECT_TRUE(run.step(0, "/x/a.bmp"));
        EXPECT_EQ(dialogs[0]->labelText(), QStringLiteral("a.bmp"));
        dialogs[0]->cancel();
        EXPECT_FALSE(run.step(1, "/x/b.bmp"));
        EXPECT_FALSE(run.step(2, "/x/c.bmp"));
        EXPECT_TRUE(run.cancelled());
    }
    EXPECT_TRUE(window.findChildren<QProgressDialog *>().isEmpty());

    // The next run starts afresh.
    ProgressRun again(service, "导出目录的所有图标", 2);
    EXPECT_TRUE(again.asFileStep()(0, "/x/a0000.ico"));
}

} // namespace
