#include "app/Progress.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <algorithm>
#include <climits>

namespace pictarium {

namespace {

// A dialog shows up only for runs that take longer than this.
constexpr int kProgressDelayMs = 500;

int clampToInt(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, INT_MAX)); }

} // namespace

QtProgressService::QtProgressService(QWidget *parent) : parent_(parent) {}

QtProgressService::~QtProgressService() = default;

void QtProgressService::begin(const std::string &title, std::size_t total)
{
    dialog_ = std::make_unique<QProgressDialog>(QString(), QStringLiteral("取消"), 0, clampToInt(total), parent_);
    dialog_->setWindowTitle(QString::fromStdString(title));
    // Modal to the window: nothing else may touch the library while a run goes on.
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(kProgressDelayMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
}

bool QtProgressService::step(std::size_t index, const std::string &path)
{
    if (!dialog_)
        return true;
    dialog_->setLabelText(QFileInfo(QString::fromStdString(path)).fileName());
    dialog_->setValue(clampToInt(index)); // lets the dialog appear and see the Cancel button
    return !dialog_->wasCanceled();
}

void QtProgressService::end() { dialog_.reset(); }

ProgressRun::ProgressRun(ProgressService &service, const std::string &title, std::size_t total)
    : service_(service)
{
    service_.begin(title, total);
}

ProgressRun::~ProgressRun() { service_.end(); }

bool ProgressRun::step(std::size_t index, const std::string &path)
{
    if (!cancelled_ && !service_.step(index, path))
        cancelled_ = true;
    return !cancelled_;
}

FileStep ProgressRun::asFileStep()
{
    return [this](std::size_t index, const std::string &path) { return step(index, path); };
}

} // namespace pictarium
