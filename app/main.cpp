// Program entry: the application object, the main window, the message loop.

#include "app/MainForm.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictarium"));
    try {
        pictarium::TMainForm form;
        std::vector<std::string> args;
        for (int i = 1; i < argc; ++i)
            args.emplace_back(argv[i]);
        form.FormCreate(args);
        form.show();
        QApplication::exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QString::fromLatin1(pictarium::kApplicationTitle), QString::fromUtf8(e.what()));
    }
    return 0;
}
