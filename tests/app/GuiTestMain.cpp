// One QApplication for every GUI test of this program, on Qt's offscreen platform, with
// the settings and desktop files the window writes kept in a private XDG home.

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        home_ = new QTemporaryDir();
        qputenv("XDG_CONFIG_HOME", (home_->path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home_->path() + "/data").toLocal8Bit());
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
        delete home_;
        home_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[16] = "app_tests";
    char *argv_[2] = {name_, nullptr};
    QApplication *app_ = nullptr;
    QTemporaryDir *home_ = nullptr;
};

[[maybe_unused]] auto *const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
