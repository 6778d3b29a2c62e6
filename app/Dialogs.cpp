#include "app/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

#include <cctype>

namespace pictarium {

bool TFileDialog::Execute() { return service && service->runFileDialog(*this); }

bool TColorDialog::Execute() { return service && service->runColorDialog(*this); }

namespace {

std::vector<std::string> split(const std::string &s, char sep)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const auto at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

std::string trim(const std::string &s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// "*.ILF" -> "*.[iI][lL][fF]": the Linux file system is case-sensitive, the filters are not.
std::string caseless(const std::string &pattern)
{
    if (pattern == "*.*")
        return "*";
    std::string out;
    for (unsigned char c : pattern) {
        if (std::isalpha(c) && c < 0x80) {
            out += '[';
            out += static_cast<char>(std::tolower(c));
            out += static_cast<char>(std::toupper(c));
            out += ']';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

std::vector<std::string> qtNameFilters(const std::string &vclFilter)
{
    std::vector<std::string> filters;
    if (vclFilter.empty())
        return filters;
    const auto parts = split(vclFilter, '|');
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        const std::string text = parts[i];
        const std::string patterns = i + 1 < parts.size() ? parts[i + 1] : std::string();
        std::string qtPatterns;
        for (const auto &p : split(patterns, ';')) {
            const std::string pattern = trim(p);
            if (pattern.empty())
                continue;
            if (!qtPatterns.empty())
                qtPatterns += ' ';
            qtPatterns += caseless(pattern);
        }
        if (qtPatterns.empty())
            qtPatterns.push_back('*');
        std::string filter = text;
        filter.append(" (").append(qtPatterns).append(")");
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::string qtDefaultSuffix(const std::string &defaultExt)
{
    return !defaultExt.empty() && defaultExt.front() == '.' ? defaultExt.substr(1) : defaultExt;
}

bool QtDialogService::runFileDialog(TFileDialog &d)
{
    QFileDialog dialog(parent_, QString::fromStdString(d.Title), QString::fromStdString(d.InitialDir));
    // Qt's own dialog: the same behaviour on every desktop, and the filter texts shown as given.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::ReadOnly, false);
    QStringList filters;
    for (const auto &f : qtNameFilters(d.Filter))
        filters << QString::fromStdString(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = d.FilterIndex >= 1 && d.FilterIndex <= filters.size() ? d.FilterIndex - 1 : 0;
        dialog.selectNameFilter(filters[index]);
    }
    dialog.setDefaultSuffix(QString::fromStdString(qtDefaultSuffix(d.DefaultExt)));
    if (d.kind == TFileDialog::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(d.Options & ofOverwritePrompt));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (d.Options & ofAllowMultiSelect)
            dialog.setFileMode(QFileDialog::ExistingFiles);
        else if (d.Options & ofFileMustExist)
            dialog.setFileMode(QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!d.FileName.empty())
        dialog.selectFile(QString::fromStdString(d.FileName));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    d.Files.clear();
    for (const auto &f : chosen)
        d.Files.push_back(f.toStdString());
    d.FileName = d.Files.front();
    d.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

bool QtDialogService::runColorDialog(TColorDialog &d)
{
    const QColor initial(static_cast<int>(d.Color & 0xff), static_cast<int>((d.Color >> 8) & 0xff),
                         static_cast<int>((d.Color >> 16) & 0xff));
    const QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid())
        return false;
    d.Color = static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8) |
              (static_cast<std::uint32_t>(chosen.blue()) << 16);
    return true;
}

} // namespace pictarium
