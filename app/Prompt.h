#pragma once
// Message boxes behind one seam: the window asks its PromptService, the program answers with
// QMessageBox, tests answer from a script.

#include <string>

namespace pictarium {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Warning, Question, Error };
enum class MsgResult { Ok, Cancel, Yes, No };

// The caption of ShowMessage and of the exception display: the application's title.
inline constexpr const char *kApplicationTitle = "Pictarium";

class PromptService {
public:
    virtual ~PromptService() = default;
    // A modal message box; answers the button chosen (Cancel/No when it is closed otherwise).
    virtual MsgResult messageBox(const std::string &text, const std::string &caption,
                                 MsgButtons buttons, MsgIcon icon) = 0;

    // The plain one-line message with an OK button.
    void ShowMessage(const std::string &text)
    {
        messageBox(text, kApplicationTitle, MsgButtons::Ok, MsgIcon::None);
    }
    // The application's exception display.
    void ShowException(const std::string &text)
    {
        messageBox(text, kApplicationTitle, MsgButtons::Ok, MsgIcon::Error);
    }
};

class QtPromptService : public PromptService {
public:
    MsgResult messageBox(const std::string &text, const std::string &caption, MsgButtons buttons,
                         MsgIcon icon) override;
};

} // namespace pictarium
