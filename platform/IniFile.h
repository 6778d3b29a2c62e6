#pragma once
// A private-profile settings file with the Windows profile semantics: "[section]" headers and
// "key=value" lines, names matched without regard to ASCII case, values read trimmed (one pair
// of enclosing quotes dropped). A write replaces an existing key's value where it stands,
// appends a missing key to the end of its section and a missing section to the end of the
// file; every other byte of the file (comments, blank lines, foreign sections, line endings)
// stays as it was. Each write reaches the disk at once, atomically.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictarium {

// Integer text as the profile service reads it: optional leading blanks and sign, then a
// decimal number or a hexadecimal one introduced by "0x", "x" or "$" (x in either case).
// Hexadecimal takes any 32-bit pattern ("$FFFFFFFF" is -1); decimal must fit an int32.
// Anything else, trailing characters included, is no number.
std::optional<std::int32_t> parseProfileInteger(std::string_view text);

class IniFile {
public:
    // Reads the file when it exists. A missing file reads as empty. A file that exists but
    // cannot be read also reads as empty, and every write to it fails instead of replacing
    // content that was never seen.
    explicit IniFile(std::string path);
    // A file at path whose current bytes are contents (nothing is read from the disk).
    IniFile(std::string path, std::string_view contents);

    const std::string &path() const { return path_; }

    // The value of the first matching key in the first matching section, trimmed, without
    // enclosing quotes, cut to kLimits.maxProfileString bytes; nullopt when missing.
    std::optional<std::string> readValue(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // fallback when the key is missing, empty or not a number (see parseProfileInteger).
    std::int32_t readInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;

    // Throws PlatformError "Unable to write to %s" (the path) when the file cannot be written,
    // or when a name or value cannot be stored in a profile line (line breaks, a ']' in a
    // section name, '=' in a key). The file is then left as it was.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);

    // The file's bytes as writeString would leave them, without writing; throws like it.
    std::string textWith(std::string_view section, std::string_view key, std::string_view value) const;

    // The file's bytes as they are after the last write.
    std::string text() const;

private:
    struct Line {
        std::string body; // without its line ending
        std::string eol;  // "\r\n", "\n", "\r" or empty for a last line without one
    };
    struct Found {
        std::size_t header = 0;  // line of the section header
        std::size_t lastKey = 0; // last key line of the section (the header when it has none)
        std::optional<std::size_t> key;
    };

    void parse(std::string_view text);
    std::optional<Found> find(std::string_view section, std::string_view key) const;
    std::vector<Line> edited(std::string_view section, std::string_view key, std::string_view value) const;
    std::string newline() const;
    void save(const std::vector<Line> &lines);

    std::string path_;
    std::vector<Line> lines_;
    bool readable_ = true;
};

} // namespace pictarium
