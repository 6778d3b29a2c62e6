#include "app/Prompt.h"

#include <QApplication>
#include <QMessageBox>

namespace pictarium {

MsgResult QtPromptService::messageBox(const std::string &text, const std::string &caption,
                                      MsgButtons buttons, MsgIcon icon)
{
    QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case MsgButtons::Ok: break;
    case MsgButtons::OkCancel:
        qtButtons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        qtButtons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None: break;
    case MsgIcon::Information: qtIcon = QMessageBox::Information; break;
    case MsgIcon::Warning: qtIcon = QMessageBox::Warning; break;
    case MsgIcon::Question: qtIcon = QMessageBox::Question; break;
    case MsgIcon::Error: qtIcon = QMessageBox::Critical; break;
    }
    QMessageBox box(qtIcon, QString::fromStdString(caption), QString::fromStdString(text), qtButtons,
                    QApplication::activeWindow());
    box.setEscapeButton(escape);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
    }
}

} // namespace pictarium
