#pragma once
// The one QApplication of the benchmark suite, on the offscreen platform unless told otherwise,
// with the window's settings and desktop files kept in a scratch folder, away from the user's.

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

inline QApplication &benchApplication()
{
    static int argc = 1;
    static char name[] = "pictarium_bench";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static const std::string home = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "pictarium-bench-home-XXXXXX").string();
        const std::string made = ::mkdtemp(pattern.data()) ? pattern : std::string();
        if (!made.empty()) {
            qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(made + "/config"));
            qputenv("XDG_DATA_HOME", QByteArray::fromStdString(made + "/data"));
            std::atexit([] {
                std::error_code ec;
                std::filesystem::remove_all(home, ec);
            });
        }
        return made;
    }();
    // Never destroyed: a static QApplication would be torn down after Qt's own globals and
    // crash the process at exit.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}
