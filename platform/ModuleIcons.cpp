#include "platform/ModuleIcons.h"

#include "platform/FileIO.h"
#include "platform/Limits.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pictarium {

namespace {

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kNeRtIcon = 0x8003;
constexpr std::uint16_t kNeRtGroupIcon = 0x800E;
constexpr std::uint32_t kHighBit = 0x8000'0000u;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kFileEntrySize = 16;

// One level of a PE resource tree: the directory's entries, within the resource view.
struct ResDir {
    std::size_t entries = 0; // offset of the first entry
    std::size_t named = 0;
    std::size_t total = 0; // named + numbered, capped to what lies inside the view
};

std::optional<ResDir> readResDir(ByteView res, std::size_t offset)
{
    const auto named = res.u16(offset + 12);
    const auto ids = res.u16(offset + 14);
    if (!named || !ids)
        return std::nullopt;
    ResDir d;
    d.entries = offset + 16;
    d.named = *named;
    const std::size_t declared = std::size_t{*named} + *ids;
    // Entries past the end of the resource data do not exist; counting them would turn
    // nothing into icons.
    const std::size_t room = d.entries <= res.size() ? (res.size() - d.entries) / 8 : 0;
    d.total = std::min(declared, room);
    return d;
}

// The target of entry i of a directory: (is a sub-directory, offset within the view).
struct ResTarget {
    std::uint32_t name = 0;
    bool isDir = false;
    std::size_t offset = 0;
};

ResTarget entryAt(ByteView res, const ResDir &dir, std::size_t i)
{
    const std::size_t at = dir.entries + 8 * i;
    const std::uint32_t name = res.u32(at).value_or(0);
    const std::uint32_t target = res.u32(at + 4).value_or(0);
    return {name, (target & kHighBit) != 0, target & ~kHighBit};
}

// The sub-directory of the numbered entry `id` (first match), if any.
std::optional<ResDir> findIdDir(ByteView res, const ResDir &dir, std::uint16_t id)
{
    for (std::size_t i = dir.named; i < dir.total; ++i) {
        const ResTarget t = entryAt(res, dir, i);
        if ((t.name & kHighBit) == 0 && (t.name & 0xFFFF) == id)
            return t.isDir ? readResDir(res, t.offset) : std::nullopt;
    }
    return std::nullopt;
}

ResourceName peName(ByteView res, std::uint32_t name)
{
    ResourceName n;
    if ((name & kHighBit) == 0) {
        n.id = static_cast<std::uint16_t>(name & 0xFFFF);
        return n;
    }
    const std::size_t at = name & ~kHighBit;
    const auto length = res.u16(at);
    if (!length || !res.contains(at + 2, std::size_t{*length} * 2))
        return n; // unreadable name: still a group, named ""
    n.name.reserve(*length);
    for (std::size_t k = 0; k < *length; ++k)
        n.name.push_back(static_cast<char16_t>(*res.u16(at + 2 + 2 * k)));
    return n;
}

int sideOf(std::uint8_t stored) { return stored == 0 ? 256 : stored; }

} // namespace

std::optional<std::size_t> chooseIconEntry(ByteView directory, std::size_t entrySize, int cx,
                                           int cy)
{
    const auto reserved = directory.u16(0);
    const auto type = directory.u16(2);
    const auto count = directory.u16(4);
    if (!reserved || !type || !count || *reserved != 0 || *type != 1 || *count == 0)
        return std::nullopt;
    if (!directory.contains(6, std::size_t{*count} * entrySize))
        return std::nullopt;
    auto distances = [&](std::size_t k) {
        const std::size_t at = 6 + k * entrySize;
        return std::pair{std::abs(cx - sideOf(*directory.u8(at))),
                         std::abs(cy - sideOf(*directory.u8(at + 1)))};
    };
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t k = 0; k < *count; ++k) {
        const auto [dx, dy] = distances(k);
        if (dx + dy < bestDistance) {
            bestDistance = dx + dy;
            best = k;
        }
    }
    constexpr int kDisplayDepth = 32;
    const auto pair = distances(best);
    std::size_t chosen = best;
    int bestDepthDiff = std::numeric_limits<int>::max();
    for (std::size_t k = 0; k < *count; ++k) {
        if (distances(k) != pair)
            continue;
        const int bits = *directory.u16(6 + k * entrySize + 6);
        const int diff = std::abs(kDisplayDepth - bits);
        if (diff < bestDepthDiff) {
            bestDepthDiff = diff;
            chosen = k;
        }
    }
    return chosen;
}

ModuleIcons::ModuleIcons(Bytes file) : file_(std::move(file))
{
    ByteView f(file_);
    const auto mz0 = f.u8(0);
    const auto mz1 = f.u8(1);
    if (mz0 == 'M' && mz1 == 'Z') {
        const auto lfanew = f.u32(0x3C);
        if (!lfanew)
            return;
        const auto s0 = f.u8(*lfanew);
        const auto s1 = f.u8(std::size_t{*lfanew} + 1);
        if (s0 == 'P' && s1 == 'E' && f.u16(std::size_t{*lfanew} + 2) == 0) {
            kind_ = ModuleKind::PE;
            readPE(*lfanew);
        } else if (s0 == 'N' && s1 == 'E') {
            kind_ = ModuleKind::NE;
            readNE(*lfanew);
        }
        return;
    }
    if (f.u16(0) == 0 && f.u16(2) == 1) {
        kind_ = ModuleKind::IconFile;
        readIconFile();
    }
}

ModuleIcons ModuleIcons::fromFile(const std::string &path) { return ModuleIcons(readWholeFile(path)); }

void ModuleIcons::readPE(std::size_t pe)
{
    ByteView f(file_);
    const auto sectionCount = f.u16(pe + 6);
    const auto optionalSize = f.u16(pe + 20);
    const std::size_t opt = pe + 24;
    const auto magic = f.u16(opt);
    if (!sectionCount || !optionalSize || !magic)
        return;
    std::size_t rvaCountAt = 0;
    if (*magic == 0x10B)
        rvaCountAt = opt + 92;
    else if (*magic == 0x20B)
        rvaCountAt = opt + 108;
    else
        return;
    const auto rvaCount = f.u32(rvaCountAt);
    if (!rvaCount || *rvaCount <= 2)
        return;
    const std::size_t resourceEntry = rvaCountAt + 4 + 2 * 8;
    const auto rootRva = f.u32(resourceEntry);
    if (!rootRva || *rootRva == 0)
        return;

    struct Section {
        std::uint64_t va, rawSize, rawPtr;
    };
    std::vector<Section> sections;
    const std::size_t table = opt + *optionalSize;
    for (std::size_t s = 0; s < *sectionCount; ++s) {
        const auto hdr = f.sub(table + 40 * s, 40);
        if (!hdr)
            break;
        sections.push_back({*hdr->u32(12), *hdr->u32(16), *hdr->u32(20)});
    }
    // A file range for [rva, rva + size), wholly inside one section's raw data and the file.
    auto mapRva = [&](std::uint64_t rva, std::uint64_t size) -> std::optional<Loc> {
        for (const Section &s : sections) {
            if (rva < s.va || rva >= s.va + s.rawSize)
                continue;
            const std::uint64_t within = rva - s.va;
            if (size > s.rawSize - within)
                return std::nullopt;
            const std::uint64_t offset = s.rawPtr + within;
            if (offset > file_.size() || size > file_.size() - offset)
                return std::nullopt;
            return Loc{static_cast<std::size_t>(offset), static_cast<std::size_t>(size)};
        }
        return std::nullopt;
    };

    // The resource tree's own offsets are relative to its root and stay in its section.
    std::optional<ByteView> res;
    for (const Section &s : sections) {
        if (*rootRva < s.va || *rootRva >= s.va + s.rawSize)
            continue;
        const std::uint64_t start = s.rawPtr + (*rootRva - s.va);
        const std::uint64_t end = std::min<std::uint64_t>(s.rawPtr + s.rawSize, file_.size());
        if (start < end)
            res = f.sub(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        break;
    }
    if (!res)
        return;
    const auto root = readResDir(*res, 0);
    if (!root)
        return;

    // First language entry of a name's sub-directory -> its data.
    auto firstLanguage = [&](const ResTarget &nameEntry) -> std::pair<std::uint16_t, std::optional<Loc>> {
        if (!nameEntry.isDir)
            return {0, std::nullopt};
        const auto langs = readResDir(*res, nameEntry.offset);
        if (!langs || langs->total == 0)
            return {0, std::nullopt};
        const ResTarget lang = entryAt(*res, *langs, 0);
        const auto language = static_cast<std::uint16_t>(lang.name & 0xFFFF);
        if (lang.isDir)
            return {language, std::nullopt};
        const auto rva = res->u32(lang.offset);
        const auto size = res->u32(lang.offset + 4);
        if (!rva || !size)
            return {language, std::nullopt};
        return {language, mapRva(*rva, *size)};
    };

    if (const auto iconDir = findIdDir(*res, *root, kRtIcon)) {
        for (std::size_t i = iconDir->named; i < iconDir->total; ++i) {
            const ResTarget t = entryAt(*res, *iconDir, i);
            const auto id = static_cast<std::uint16_t>(t.name & 0xFFFF);
            if (icons_.contains(id))
                continue;
            auto [language, data] = firstLanguage(t);
            icons_.emplace(id, IconRef{language, data});
        }
    }
    const auto groupDir = findIdDir(*res, *root, kRtGroupIcon);
    if (!groupDir)
        return;
    const std::size_t count = std::min(groupDir->total, kLimits.maxModuleIcons);
    groups_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ResTarget t = entryAt(*res, *groupDir, i);
        auto [language, data] = firstLanguage(t);
        groups_.push_back({peName(*res, t.name), language, data});
    }
}

void ModuleIcons::readNE(std::size_t ne)
{
    neIds_ = true;
    ByteView f(file_);
    const auto tableOffset = f.u16(ne + 0x24);
    if (!tableOffset)
        return;
    const std::size_t table = ne + *tableOffset;
    const auto shift = f.u16(table);
    if (!shift)
        return;
    // Offsets and lengths are in units of 1 << shift; the last resource may end early.
    auto locate = [&](std::uint16_t offset, std::uint16_t length) -> std::optional<Loc> {
        if (*shift >= 48)
            return std::nullopt;
        const std::uint64_t at = std::uint64_t{offset} << *shift;
        const std::uint64_t size = std::uint64_t{length} << *shift;
        if (at >= file_.size())
            return std::nullopt;
        return Loc{static_cast<std::size_t>(at),
                   static_cast<std::size_t>(std::min<std::uint64_t>(size, file_.size() - at))};
    };

    std::optional<std::pair<std::size_t, std::size_t>> groupBlock, iconBlock; // (records, count)
    std::size_t at = table + 2;
    while (!(groupBlock && iconBlock)) {
        const auto type = f.u16(at);
        const auto count = f.u16(at + 2);
        if (!type || *type == 0 || !count)
            break;
        const std::size_t records = at + 8;
        // Only the records that lie inside the file exist.
        const std::size_t present =
            records <= file_.size() ? std::min<std::size_t>(*count, (file_.size() - records) / 12) : 0;
        if (*type == kNeRtGroupIcon && !groupBlock)
            groupBlock = std::pair{records, present};
        if (*type == kNeRtIcon && !iconBlock)
            iconBlock = std::pair{records, present};
        if (present < *count)
            break;
        at = records + 12 * std::size_t{*count};
    }
    if (!groupBlock || !iconBlock)
        return;

    for (std::size_t k = 0; k < iconBlock->second; ++k) {
        const std::size_t r = iconBlock->first + 12 * k;
        const auto id = *f.u16(r + 6);
        if (!icons_.contains(id))
            icons_.emplace(id, IconRef{0, locate(*f.u16(r), *f.u16(r + 2))});
    }
    const std::size_t count = std::min(groupBlock->second, kLimits.maxModuleIcons);
    groups_.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t r = groupBlock->first + 12 * k;
        const auto id = *f.u16(r + 6);
        ResourceName name;
        if (id & 0x8000) {
            name.id = static_cast<std::uint16_t>(id & 0x7FFF);
        } else if (const auto length = f.u8(table + id)) {
            if (const auto chars = f.sub(table + id + 1, *length))
                for (std::uint8_t c : chars->bytes())
                    name.name.push_back(static_cast<char16_t>(c));
        }
        groups_.push_back({std::move(name), 0, locate(*f.u16(r), *f.u16(r + 2))});
    }
}

void ModuleIcons::readIconFile()
{
    // The file itself is the one group; iconImage picks from its directory.
    groups_.push_back({ResourceName{}, 0, Loc{0, file_.size()}});
}

std::optional<ByteSpan> ModuleIcons::span(const std::optional<Loc> &loc) const
{
    if (!loc)
        return std::nullopt;
    return ByteSpan(file_).subspan(loc->offset, loc->size);
}

const ModuleIcons::IconRef *ModuleIcons::iconById(std::uint16_t groupEntryId) const
{
    const std::uint16_t key = neIds_ ? static_cast<std::uint16_t>(groupEntryId | 0x8000) : groupEntryId;
    const auto it = icons_.find(key);
    return it == icons_.end() ? nullptr : &it->second;
}

std::optional<ByteSpan> ModuleIcons::iconImage(std::size_t index) const
{
    if (index >= groups_.size())
        return std::nullopt;
    const auto dirBytes = span(groups_[index].data);
    if (!dirBytes)
        return std::nullopt;
    const ByteView dir(*dirBytes);
    if (kind_ == ModuleKind::IconFile) {
        const auto k = chooseIconEntry(dir, kFileEntrySize, 32, 32);
        if (!k)
            return std::nullopt;
        const std::size_t at = 6 + *k * kFileEntrySize;
        const auto image = dir.sub(*dir.u32(at + 12), *dir.u32(at + 8));
        if (!image)
            return std::nullopt;
        return image->bytes();
    }
    const auto k = chooseIconEntry(dir, kGroupEntrySize, 32, 32);
    if (!k)
        return std::nullopt;
    const IconRef *icon = iconById(*dir.u16(6 + *k * kGroupEntrySize + 12));
    if (!icon)
        return std::nullopt;
    return span(icon->data);
}

std::optional<IconGroup> ModuleIcons::group(std::size_t index) const
{
    if (kind_ == ModuleKind::IconFile || index >= groups_.size())
        return std::nullopt;
    const GroupRef &ref = groups_[index];
    const auto dirBytes = span(ref.data);
    if (!dirBytes)
        return std::nullopt;
    IconGroup g;
    g.name = ref.name;
    g.language = ref.language;
    g.directory = *dirBytes;
    const ByteView dir(*dirBytes);
    const std::size_t entries = dir.u16(4).value_or(0);
    for (std::size_t k = 0; k < entries; ++k) {
        const auto id = dir.u16(6 + k * kGroupEntrySize + 12);
        if (!id || !dir.contains(6 + k * kGroupEntrySize, kGroupEntrySize))
            break;
        IconGroup::Image image;
        image.id = *id;
        if (const IconRef *icon = iconById(*id)) {
            image.language = icon->language;
            image.data = span(icon->data);
        }
        g.images.push_back(image);
    }
    return g;
}

} // namespace pictarium
