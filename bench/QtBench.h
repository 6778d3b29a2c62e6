#pragma once
// The one QApplication of the benchmark suite, on the offscreen platform unless told otherwise.

#include <QApplication>

inline QApplication &benchApplication()
{
    static int argc = 1;
    static char name[] = "pictarium_bench";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: a static QApplication would be torn down after Qt's own globals and
    // crash the process at exit.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}
