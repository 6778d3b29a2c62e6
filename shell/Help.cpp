#include "shell/Help.h"

#include "platform/FileIO.h"
#include "shell/AboutBox.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace pictarium {

void SysHelpExecute(const ShowMessageFn &showMessage)
{
    if (fileExists(kHelpFileName)) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QString::fromUtf8(kHelpFileName))));
        return;
    }
    showMessage("你能否替我们写一个帮助文件？");
}

QString sourceRequestNotice()
{
    return QStringLiteral("Pictarium 的源程序向所有用户公开。\n"
                          "如需索取源程序，请发电子邮件至 %1，\n"
                          "并在信中说明您的用途；\n"
                          "我们会把源程序连同使用说明一起寄给您。")
        .arg(QString::fromUtf8(kAuthorEmail));
}

void N41Click(const ShowMessageFn &showMessage) { showMessage(sourceRequestNotice().toStdString()); }

void SysAboutExecute()
{
    TAboutBox box;
    box.exec();
}

} // namespace pictarium
