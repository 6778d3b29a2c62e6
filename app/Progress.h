#pragma once
// Progress of multi-file imports and exports behind one seam: the program shows a progress
// dialog once a run takes more than a moment, tests cancel from a script.

#include "library/FileStep.h"

#include <cstddef>
#include <memory>
#include <string>

class QProgressDialog;
class QWidget;

namespace pictarium {

class ProgressService {
public:
    virtual ~ProgressService() = default;
    // A run over `total` files begins; title names the command.
    virtual void begin(const std::string &title, std::size_t total) = 0;
    // The file at index is next; false when the user cancelled.
    virtual bool step(std::size_t index, const std::string &path) = 0;
    // The run is over (finished, cancelled or failed).
    virtual void end() = 0;
};

class QtProgressService : public ProgressService {
public:
    explicit QtProgressService(QWidget *parent);
    ~QtProgressService() override;
    void begin(const std::string &title, std::size_t total) override;
    bool step(std::size_t index, const std::string &path) override;
    void end() override;

private:
    QWidget *parent_;
    std::unique_ptr<QProgressDialog> dialog_;
};

// One run of a service, ended when it goes out of scope (also by an exception).
class ProgressRun {
public:
    ProgressRun(ProgressService &service, const std::string &title, std::size_t total);
    ~ProgressRun();
    ProgressRun(const ProgressRun &) = delete;
    ProgressRun &operator=(const ProgressRun &) = delete;

    // false: cancelled; every later file is left alone.
    bool step(std::size_t index, const std::string &path);
    [[nodiscard]] FileStep asFileStep();
    [[nodiscard]] bool cancelled() const { return cancelled_; }

private:
    ProgressService &service_;
    bool cancelled_ = false;
};

} // namespace pictarium
