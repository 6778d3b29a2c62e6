#include "IniFile.h"

#include "Codepage.h"
#include "FileIO.h"
#include "Limits.h"
#include "PlatformError.h"

#include <algorithm>

namespace pictarium {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    a = trim(a);
    b = trim(b);
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// What one line of the file is.
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;
    std::size_t valueStart = std::string_view::npos; // just after '=', npos for a key without one
};

Parsed parseLine(std::string_view body)
{
    std::string_view s = trim(body);
    if (s.empty() || s.front() == ';')
        return {};
    if (s.front() == '[') {
        auto close = s.rfind(']');
        if (close != std::string_view::npos && close > 0)
            return {Parsed::Section, s.substr(1, close - 1)};
    }
    auto eq = body.find('=');
    if (eq == std::string_view::npos)
        return {Parsed::Key, s};
    return {Parsed::Key, trim(body.substr(0, eq)), eq + 1};
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

} // namespace

std::optional<std::int32_t> parseProfileInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';

    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;

    // Decimal must fit an int32 with its sign; hexadecimal may use all 32 bits.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && asciiLower(c) >= 'a' && asciiLower(c) <= 'f')
            digit = static_cast<unsigned>(asciiLower(c) - 'a' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    auto bits = static_cast<std::uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

IniFile::IniFile(std::string path) : path_(std::move(path))
{
    if (!fileExists(path_))
        return;
    Bytes data;
    try {
        data = readWholeFile(path_);
    } catch (const PlatformError &) {
        readable_ = false;
        return;
    }
    parse(std::string(data.begin(), data.end()));
}

IniFile::IniFile(std::string path, std::string_view contents) : path_(std::move(path)) { parse(contents); }

void IniFile::parse(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        auto end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) {
            lines_.push_back({std::string(text.substr(at)), {}});
            break;
        }
        std::size_t eolLength = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        lines_.push_back({std::string(text.substr(at, end - at)), std::string(text.substr(end, eolLength))});
        at = end + eolLength;
    }
}

std::optional<IniFile::Found> IniFile::find(std::string_view section, std::string_view key) const
{
    // A UTF-8 byte order mark before the first header is not part of it.
    auto bodyOf = [this](std::size_t i) {
        std::string_view body = lines_[i].body;
        if (i == 0 && body.starts_with("\xEF\xBB\xBF"))
            body.remove_prefix(3);
        return body;
    };
    std::size_t i = 0;
    for (; i < lines_.size(); ++i) {
        Parsed p = parseLine(bodyOf(i));
        if (p.kind == Parsed::Section && sameName(p.name, section))
            break;
    }
    if (i == lines_.size())
        return std::nullopt;

    Found found;
    found.header = found.lastKey = i;
    for (++i; i < lines_.size(); ++i) {
        Parsed p = parseLine(bodyOf(i));
        if (p.kind == Parsed::Section)
            break;
        if (p.kind != Parsed::Key)
            continue;
        found.lastKey = i;
        if (!found.key && sameName(p.name, key))
            found.key = i;
    }
    return found;
}

std::optional<std::string> IniFile::readValue(std::string_view section, std::string_view key) const
{
    auto found = find(section, key);
    if (!found || !found->key)
        return std::nullopt;
    std::string_view body = lines_[*found->key].body;
    Parsed p = parseLine(body);
    if (p.valueStart == std::string_view::npos)
        return std::string();
    std::string_view value = trim(body.substr(p.valueStart));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kLimits.maxProfileString));
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const
{
    auto value = readValue(section, key);
    return value ? *value : std::string(fallback);
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key, std::int32_t fallback) const
{
    auto value = readValue(section, key);
    if (!value)
        return fallback;
    return parseProfileInteger(*value).value_or(fallback);
}

std::string IniFile::newline() const
{
    for (const Line &line : lines_)
        if (!line.eol.empty())
            return line.eol;
    return "\n";
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    save(edited(section, key, value));
}

std::string IniFile::textWith(std::string_view section, std::string_view key, std::string_view value) const
{
    std::string out;
    for (const Line &line : edited(section, key, value))
        out += line.body + line.eol;
    return out;
}

std::vector<IniFile::Line> IniFile::edited(std::string_view section, std::string_view key,
                                           std::string_view value) const
{
    const std::string failure = formatMessage("Unable to write to %s", path_);
    if (!readable_ || hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        trim(section).empty() || trim(key).empty() || trim(key).front() == ';' || trim(key).front() == '[')
        throw PlatformError(failure);

    std::vector<Line> lines = lines_;
    const std::string eol = newline();
    auto keyLine = [&] { return std::string(key) + "=" + std::string(value); };

    if (auto found = find(section, key)) {
        if (found->key) {
            Line &line = lines[*found->key];
            Parsed p = parseLine(line.body);
            if (p.valueStart == std::string_view::npos)
                line.body = std::string(trim(line.body)) + "=" + std::string(value);
            else
                line.body = line.body.substr(0, p.valueStart) + std::string(value);
        } else {
            Line &after = lines[found->lastKey];
            if (after.eol.empty())
                after.eol = eol;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(found->lastKey + 1), Line{keyLine(), eol});
        }
    } else {
        if (!lines.empty() && lines.back().eol.empty())
            lines.back().eol = eol;
        lines.push_back({"[" + std::string(section) + "]", eol});
        lines.push_back({keyLine(), eol});
    }
    return lines;
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    writeString(section, key, std::to_string(value));
}

std::string IniFile::text() const
{
    std::string out;
    for (const Line &line : lines_)
        out += line.body + line.eol;
    return out;
}

void IniFile::save(const std::vector<Line> &lines)
{
    std::string out;
    for (const Line &line : lines)
        out += line.body + line.eol;
    if (out == text() && fileExists(path_)) {
        lines_ = lines;
        return;
    }
    try {
        writeFileAtomically(path_, asciiBytes(out));
    } catch (const PlatformError &) {
        throw PlatformError(formatMessage("Unable to write to %s", path_));
    }
    lines_ = lines;
}

} // namespace pictarium
