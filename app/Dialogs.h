#pragma once
// The shared dialogs keep the state the commands rely on between runs (file name, folder,
// filter, default extension, options, chosen files); Execute() hands them to a
// DialogService, which is Qt's dialogs in the program and a script in tests.

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace pictarium {

// File dialog options, as the commands name them.
enum DialogOption : unsigned {
    ofHideReadOnly = 1u << 0,
    ofAllowMultiSelect = 1u << 1,
    ofFileMustExist = 1u << 2,
    ofEnableSizing = 1u << 3,
    ofOverwritePrompt = 1u << 4,
    ofPathMustExist = 1u << 5,
};

class DialogService;

struct TFileDialog {
    enum class Kind { Open, Save };
    explicit TFileDialog(Kind k) : kind(k) {}

    Kind kind;
    std::string FileName;   // the chosen file (the first one when several were chosen)
    std::string InitialDir; // folder the dialog starts in
    std::string Filter;     // "Text|pattern;pattern|Text|pattern"
    int FilterIndex = 1;    // 1-based, as chosen
    std::string DefaultExt; // added to a name typed without extension
    std::string Title;
    unsigned Options = ofHideReadOnly | ofEnableSizing;
    std::vector<std::string> Files; // every chosen file, in order

    DialogService *service = nullptr;

    // Runs the dialog; true when the user confirmed (FileName and Files are then set).
    bool Execute();
};

struct TColorDialog {
    std::uint32_t Color = 0; // 0x00BBGGRR
    DialogService *service = nullptr;
    bool Execute();
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual bool runFileDialog(TFileDialog &dialog) = 0;
    virtual bool runColorDialog(TColorDialog &dialog) = 0;
};

class QtDialogService : public DialogService {
public:
    explicit QtDialogService(QWidget *parent) : parent_(parent) {}
    bool runFileDialog(TFileDialog &dialog) override;
    bool runColorDialog(TColorDialog &dialog) override;

private:
    QWidget *parent_;
};

// One Qt name filter per "Text|patterns" pair of a dialog filter. Patterns match letters in
// either case ("*.ILF" also shows "a.ilf"), and "*.*" means every file, as on Windows.
std::vector<std::string> qtNameFilters(const std::string &vclFilter);

// The default suffix without its leading dot (".ILF" and "ILF" both give "ILF").
std::string qtDefaultSuffix(const std::string &defaultExt);

} // namespace pictarium
