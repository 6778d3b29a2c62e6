#pragma once
// The About box: program name, version, build date, author and two links (mail and home page)
// that light up red under the mouse and open through the desktop when clicked.

#include <QDialog>
#include <QIcon>

#include <memory>

class QLabel;
class QMouseEvent;

namespace Ui {
class TAboutBox;
}

namespace pictarium {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // icon: the program's own icon; the application's window icon when null.
    explicit TAboutBox(QWidget *parent = nullptr, const QIcon &icon = {});
    ~TAboutBox() override;

    // The background a link label paints itself in.
    static QColor labelColor(const QLabel *label);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void EmailLabelClick();
    void HttplableClick();
    void LabelMouseMove(QLabel *sender);
    void Panel1MouseMove(QMouseEvent *event);
    void setLabelColor(QLabel *label, const QColor &color);

    std::unique_ptr<Ui::TAboutBox> ui;
    QColor formColor_;
};

} // namespace pictarium
