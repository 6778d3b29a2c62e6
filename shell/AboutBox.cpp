#include "shell/AboutBox.h"

#include "shell/Help.h"
#include "ui_AboutBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace pictarium {
namespace {

constexpr int kFormFontPixels = 11;
constexpr int kLabelFontPixels = 16;
constexpr int kIconSide = 32;
const QColor kHoverColor(255, 0, 0);

void setPixelFont(QWidget *widget, int pixels, bool underline = false)
{
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setUnderline(underline);
    widget->setFont(font);
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent, const QIcon &icon) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>())
{
    ui->setupUi(this);
    setPixelFont(this, kFormFontPixels);
    setFixedSize(326, 256);
    formColor_ = palette().color(QPalette::Window);

    const QIcon programIcon = icon.isNull() ? QApplication::windowIcon() : icon;
    ui->ProgramIcon->setPixmap(programIcon.pixmap(kIconSide, kIconSide));

    ui->AuthorLabel->setText(QStringLiteral("作者：") + QString::fromUtf8(kAuthorName));
    ui->EmailLabel->setText(QString::fromUtf8(kAuthorEmail));
    ui->Httplable->setText(QString::fromUtf8(kHomePageHost));

    for (QLabel *label : ui->Panel1->findChildren<QLabel *>()) {
        setPixelFont(label, kLabelFontPixels, label == ui->EmailLabel || label == ui->Httplable);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(p);
        if (label != ui->ProgramIcon)
            label->adjustSize();
    }
    setPixelFont(ui->OKButton, kLabelFontPixels);

    for (QLabel *link : {ui->EmailLabel, ui->Httplable}) {
        link->setAutoFillBackground(true);
        link->setMouseTracking(true);
        link->setCursor(Qt::PointingHandCursor);
        setLabelColor(link, formColor_);
        link->installEventFilter(this);
    }
    ui->Panel1->setMouseTracking(true);
    ui->Panel1->installEventFilter(this);
    ui->EmailCaption->installEventFilter(this);
    ui->HomeCaption->installEventFilter(this);

    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    ui->OKButton->setDefault(true);
    ui->OKButton->setFocus();
}

TAboutBox::~TAboutBox() = default;

QColor TAboutBox::labelColor(const QLabel *label) { return label->palette().color(QPalette::Window); }

void TAboutBox::setLabelColor(QLabel *label, const QColor &color)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, color);
    label->setPalette(p);
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == ui->EmailLabel || watched == ui->Httplable)
            LabelMouseMove(static_cast<QLabel *>(watched));
        else if (watched == ui->Panel1)
            Panel1MouseMove(static_cast<QMouseEvent *>(event));
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        // A click is a release of the left button over the label it was pressed on.
        if (widget && mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            if (watched == ui->EmailLabel)
                EmailLabelClick();
            else if (watched == ui->Httplable || watched == ui->EmailCaption || watched == ui->HomeCaption)
                HttplableClick();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::EmailLabelClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + QString::fromUtf8(kAuthorEmail)));
}

void TAboutBox::HttplableClick() { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePageUrl))); }

void TAboutBox::LabelMouseMove(QLabel *sender)
{
    QLabel *other = sender == ui->EmailLabel ? ui->Httplable : ui->EmailLabel;
    setLabelColor(sender, kHoverColor);
    setLabelColor(other, formColor_);
}

void TAboutBox::Panel1MouseMove(QMouseEvent *event)
{
    // Moves over the panel's other children reach the panel too; only the bare panel counts.
    if (ui->Panel1->childAt(event->position().toPoint()))
        return;
    setLabelColor(ui->EmailLabel, formColor_);
    setLabelColor(ui->Httplable, formColor_);
}

} // namespace pictarium
