#pragma once
// Scripted stand-ins for the window's message boxes and dialogs: each records what it was
// shown and answers from a script, so GUI tests run without anyone at the screen.

#include "app/Dialogs.h"
#include "app/Prompt.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace scripted {

struct Shown {
    std::string text;
    std::string caption;
    pictarium::MsgButtons buttons;
    pictarium::MsgIcon icon;
};

class Prompt : public pictarium::PromptService {
public:
    std::vector<Shown> shown;
    std::deque<pictarium::MsgResult> answers;

    pictarium::MsgResult messageBox(const std::string &text, const std::string &caption,
                                    pictarium::MsgButtons buttons, pictarium::MsgIcon icon) override
    {
        shown.push_back({text, caption, buttons, icon});
        if (!answers.empty()) {
            const auto a = answers.front();
            answers.pop_front();
            return a;
        }
        // Unscripted questions are cancelled; plain messages are acknowledged.
        return buttons == pictarium::MsgButtons::Ok ? pictarium::MsgResult::Ok : pictarium::MsgResult::Cancel;
    }

    [[nodiscard]] std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const auto &s : shown)
            t.push_back(s.text);
        return t;
    }
};

// What a file dialog looked like when it was run.
struct FileDialogRun {
    pictarium::TFileDialog::Kind kind;
    std::string filter;
    std::string defaultExt;
    unsigned options;
    std::string fileName;
};

class Dialogs : public pictarium::DialogService {
public:
    std::vector<FileDialogRun> fileRuns;
    // Each answer: the chosen files, or nothing for Cancel.
    std::deque<std::optional<std::vector<std::string>>> fileAnswers;
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    int colorRuns = 0;

    bool runFileDialog(pictarium::TFileDialog &d) override
    {
        fileRuns.push_back({d.kind, d.Filter, d.DefaultExt, d.Options, d.FileName});
        if (fileAnswers.empty())
            return false;
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        if (!a || a->empty())
            return false;
        d.Files = *a;
        d.FileName = a->front();
        return true;
    }
    bool runColorDialog(pictarium::TColorDialog &d) override
    {
        ++colorRuns;
        if (colorAnswers.empty())
            return false;
        auto a = colorAnswers.front();
        colorAnswers.pop_front();
        if (!a)
            return false;
        d.Color = *a;
        return true;
    }
};

} // namespace scripted
