#pragma once
// The help command, the source-request notice and the project's contact details they and the
// About box show.

#include <QString>

#include <functional>
#include <string>

namespace pictarium {

inline constexpr const char *kAuthorName = "Pictarium 项目组";
inline constexpr const char *kAuthorEmail = "dev@pictarium.example";
inline constexpr const char *kHomePageHost = "www.pictarium.example";
inline constexpr const char *kHomePageUrl = "https://www.pictarium.example/";
// The help file, looked up in the current folder (not the program's).
inline constexpr const char *kHelpFileName = "pictarium.chm";

// Shows a plain message (UTF-8) with an OK button: the main window's prompt service.
using ShowMessageFn = std::function<void(const std::string &)>;

// Opens "pictarium.chm" of the current folder with the desktop's viewer, or says that there
// is no help file. A viewer that fails to open it is not reported.
void SysHelpExecute(const ShowMessageFn &showMessage);

// The notice on how to ask for the program's source code.
QString sourceRequestNotice();
void N41Click(const ShowMessageFn &showMessage);

// Shows a new About box modally; it is gone when this returns.
void SysAboutExecute();

} // namespace pictarium
