#pragma once
// The icons of a module file, as the shell's icon extraction sees them: PE (PE32 and PE32+)
// and 16-bit NE modules, and plain ICO files (one icon). The kind is decided by content,
// never by the file name. Every read goes through ByteView: a damaged resource gives no icon
// for its index, never a read outside the file.
//
// Icon i is the i-th RT_GROUP_ICON resource in stored order (named before numbered, nothing
// re-sorted); its image for the large-icon size is the group entry nearest to 32 x 32 with
// the bit count nearest to 32 (see chooseIconEntry).

#include "platform/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pictarium {

enum class ModuleKind { NotModule, PE, NE, IconFile };

// A resource's name: numbered resources carry `id`, named ones `name` (UTF-16 code units;
// NE names are single bytes, each widened to one unit).
struct ResourceName {
    std::optional<std::uint16_t> id;
    std::u16string name;
    bool operator==(const ResourceName &) const = default;
};

// One RT_GROUP_ICON resource with everything it refers to, byte for byte. Spans point into
// the ModuleIcons that made it.
struct IconGroup {
    struct Image {
        std::uint16_t id = 0;       // the icon id of the directory entry
        std::uint16_t language = 0; // the language entry the bytes were taken from (PE)
        std::optional<ByteSpan> data; // nothing when the icon resource is missing or damaged
    };
    ResourceName name;
    std::uint16_t language = 0;
    ByteSpan directory;         // the GRPICONDIR as stored
    std::vector<Image> images;  // one per directory entry, in directory order
};

class ModuleIcons {
public:
    explicit ModuleIcons(Bytes file);
    // Throws PlatformError "Cannot open file %s" when the file cannot be read.
    static ModuleIcons fromFile(const std::string &path);

    ModuleIcons(ModuleIcons &&) = default;
    ModuleIcons &operator=(ModuleIcons &&) = default;
    ModuleIcons(const ModuleIcons &) = delete;
    ModuleIcons &operator=(const ModuleIcons &) = delete;

    [[nodiscard]] ModuleKind kind() const { return kind_; }
    // What extraction with index -1 answers.
    [[nodiscard]] std::size_t count() const { return groups_.size(); }
    // The image bytes (DIB or PNG) chosen for 32 x 32 of icon index; nothing when the index
    // is outside 0 .. count-1 or the group or its image is damaged or missing.
    [[nodiscard]] std::optional<ByteSpan> iconImage(std::size_t index) const;
    // The whole group of icon index (PE and NE); nothing outside 0 .. count-1, for an ICO
    // file, or when the group's directory cannot be read.
    [[nodiscard]] std::optional<IconGroup> group(std::size_t index) const;

    [[nodiscard]] ByteSpan bytes() const { return file_; }

private:
    struct Loc {
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    struct GroupRef {
        ResourceName name;
        std::uint16_t language = 0;
        std::optional<Loc> data;
    };
    struct IconRef {
        std::uint16_t language = 0;
        std::optional<Loc> data;
    };

    void readPE(std::size_t peOffset);
    void readNE(std::size_t neOffset);
    void readIconFile();
    [[nodiscard]] std::optional<ByteSpan> span(const std::optional<Loc> &loc) const;
    [[nodiscard]] const IconRef *iconById(std::uint16_t groupEntryId) const;

    Bytes file_;
    ModuleKind kind_ = ModuleKind::NotModule;
    std::vector<GroupRef> groups_;
    // RT_ICON resources by the id a group entry names (NE: the stored id has bit 15 set).
    std::unordered_map<std::uint16_t, IconRef> icons_;
    bool neIds_ = false;
};

// The entry a GRPICONDIR (entrySize 14) or ICONDIR (entrySize 16) gives for a cx x cy icon
// at a depth of 32 bits: nearest size (first wins), then among entries at the same distance
// pair the bit count nearest to 32 (first wins). Nothing when reserved != 0, type != 1,
// there are no entries, or the entries do not fit in the directory.
std::optional<std::size_t> chooseIconEntry(ByteView directory, std::size_t entrySize, int cx,
                                           int cy);

} // namespace pictarium
