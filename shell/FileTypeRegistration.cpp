#include "shell/FileTypeRegistration.h"

#include "platform/FileIO.h"
#include "platform/XdgDirs.h"
#include "shell/DesktopFiles.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <array>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pictarium {
namespace {

constexpr const char *kIconName = "pictarium";
// Sizes the hicolor theme has folders for; an icon of another size is scaled to 32 x 32.
constexpr std::array kThemeSizes{16, 22, 24, 32, 36, 48, 64, 72, 96, 128, 192, 256, 512};
// A cache tool that hangs must not hold up start-up for long.
constexpr int kToolTimeoutMs = 10'000;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string mimeIconName()
{
    std::string name = kLibraryMimeType;
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

// Writes the file unless it already holds exactly these bytes; true when it wrote.
bool writeIfChanged(const std::string &path, const Bytes &content, RegistrationReport &report)
{
    try {
        if (fileExists(path) && readWholeFile(path) == content)
            return false;
    } catch (...) {
        // Unreadable: try to replace it.
    }
    try {
        if (!makeDirectories(QFileInfo(QString::fromStdString(path)).path().toStdString()))
            return false;
        writeFileAtomically(path, content);
    } catch (...) {
        return false;
    }
    report.written.push_back(path);
    return true;
}

// The icon as a PNG of a size the icon theme looks in, and that size; nothing when the bytes
// are not an image.
std::optional<std::pair<Bytes, int>> themeIcon(ByteSpan png)
{
    if (png.empty())
        return std::nullopt;
    QImage image;
    if (!image.loadFromData(png.data(), static_cast<int>(std::min<std::size_t>(png.size(), INT32_MAX)), "PNG"))
        return std::nullopt;
    const int side = image.width();
    if (image.height() == side && std::find(kThemeSizes.begin(), kThemeSizes.end(), side) != kThemeSizes.end())
        return std::pair{Bytes(png.begin(), png.end()), side};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&buffer, "PNG");
    return std::pair{Bytes(out.begin(), out.end()), 32};
}

// True when cache does not exist or is older than source: a refresh that failed or was
// skipped on an earlier start is caught up on the next one.
bool cacheStale(const std::string &cache, const std::string &source)
{
    QFileInfo cacheInfo(QString::fromStdString(cache));
    QFileInfo sourceInfo(QString::fromStdString(source));
    return !cacheInfo.exists() || (sourceInfo.exists() && cacheInfo.lastModified() < sourceInfo.lastModified());
}

void runTool(const char *tool, const QStringList &arguments, RegistrationReport &report)
{
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(kToolTimeoutMs))
        return;
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(kToolTimeoutMs);
    }
    report.toolsRun.push_back(tool);
}

#ifdef _WIN32
void registerInRegistry(const std::wstring &program)
{
    struct Row {
        std::wstring key, value;
    };
    const Row rows[] = {
        {L".ilf", L"Icon_Library_File"},
        {L"Icon_Library_File\\shell\\open\\command", L"\"" + program + L"\" \"%1\""},
        {L"Icon_Library_File\\DefaultIcon", L"\"" + program + L"\",0"},
        {L"Icon_Library_File", L"\u56FE\u6807\u5E93\u6587\u4EF6"},
    };
    for (const Row &row : rows) {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, row.key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            continue;
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(row.value.c_str()),
                       static_cast<DWORD>((row.value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}
#endif

} // namespace

std::optional<std::string> desktopExecArgument(const std::string &programPath)
{
    // Inside the quotes '"', '`', '$' and '\' take a backslash; the whole value is then a
    // string whose own escaping doubles every backslash: $ is written \\$, \ is written \\\\.
    std::string quoted = "\"";
    for (char c : programPath) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return std::nullopt;
        switch (c) {
        case '"':
        case '`':
        case '$':
            quoted += "\\\\";
            quoted += c;
            break;
        case '\\':
            quoted += "\\\\\\\\";
            break;
        case '%':
            quoted += "%%";
            break;
        default:
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

std::optional<std::string> desktopEntryFor(const std::string &programPath)
{
    auto exec = desktopExecArgument(programPath);
    if (!exec)
        return std::nullopt;
    std::string entry = kDesktopEntryTemplate;
    const std::string placeholder = "{EXEC}";
    if (auto at = entry.find(placeholder); at != std::string::npos)
        entry.replace(at, placeholder.size(), *exec);
    return entry;
}

RegistrationReport RegisterFileType(const std::string &programPath, ByteSpan iconPng) noexcept
{
    RegistrationReport report;
    try {
#ifdef _WIN32
        (void)iconPng;
        registerInRegistry(QString::fromStdString(programPath).toStdWString());
#else
        const std::string data = xdgDataHome();
        const std::string applications = data + "/applications";
        const std::string mime = data + "/mime";
        const std::string desktopEntry = applications + "/pictarium.desktop";
        const std::string mimePackage = mime + "/packages/pictarium.xml";

        if (auto entry = desktopEntryFor(programPath))
            writeIfChanged(desktopEntry, bytesOf(*entry), report);
        writeIfChanged(mimePackage, bytesOf(kMimePackage), report);

        bool iconChanged = false;
        if (auto icon = themeIcon(iconPng)) {
            const std::string folder =
                data + "/icons/hicolor/" + std::to_string(icon->second) + "x" + std::to_string(icon->second);
            iconChanged |= writeIfChanged(folder + "/apps/" + kIconName + ".png", icon->first, report);
            iconChanged |= writeIfChanged(folder + "/mimetypes/" + mimeIconName() + ".png", icon->first, report);
        }

        if (cacheStale(mime + "/mime.cache", mimePackage))
            runTool("update-mime-database", {QString::fromStdString(mime)}, report);
        if (cacheStale(applications + "/mimeinfo.cache", desktopEntry))
            runTool("update-desktop-database", {QStringLiteral("-q"), QString::fromStdString(applications)},
                    report);
        // Only a theme folder that already has a cache needs it refreshed to see new icons.
        const std::string hicolor = data + "/icons/hicolor";
        if (iconChanged && fileExists(hicolor + "/icon-theme.cache"))
            runTool("gtk-update-icon-cache", {QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("-t"),
                                              QString::fromStdString(hicolor)},
                    report);
#endif
    } catch (...) {
        // Registration never stands in the way of start-up.
    }
    return report;
}

void RegisterFileType() noexcept
{
    try {
        Bytes icon;
        QFile file(QStringLiteral(":/icons/pictarium.png"));
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray data = file.readAll();
            icon.assign(data.begin(), data.end());
        }
        RegisterFileType(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString(), icon);
    } catch (...) {
    }
}

} // namespace pictarium
