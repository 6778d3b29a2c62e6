#pragma once
// Tiny module writers for tests: PE32 / PE32+ files with a resource section, and 16-bit NE
// files with a resource table, holding exactly the resources a test asks for, in the order
// it gives them. Each writer also answers where it put things, so tests can damage them.

#include "support/TestBytes.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pewriter {

using testbytes::Bytes;
using testbytes::le16;
using testbytes::le32;

inline void put16(Bytes &b, std::size_t at, unsigned v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(Bytes &b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One entry of a group icon directory (or, with an offset, of an ICO file's directory).
struct IconEntry {
    std::uint8_t width = 32;
    std::uint8_t height = 32;
    std::uint16_t bits = 32;
    std::uint16_t id = 1;
    std::uint32_t bytes = 0;
};

// GRPICONDIR: reserved 0, type 1, count, 14-byte entries.
inline Bytes groupDir(const std::vector<IconEntry> &entries, unsigned type = 1)
{
    Bytes b;
    le16(b, 0);
    le16(b, type);
    le16(b, static_cast<unsigned>(entries.size()));
    for (const auto &e : entries) {
        b.push_back(e.width);
        b.push_back(e.height);
        b.push_back(0); // colours
        b.push_back(0);
        le16(b, 1); // planes
        le16(b, e.bits);
        le32(b, e.bytes);
        le16(b, e.id);
    }
    return b;
}

// An ICO file: 16-byte directory entries, then the images in order.
inline Bytes icoFile(const std::vector<std::pair<IconEntry, Bytes>> &images)
{
    Bytes b;
    le16(b, 0);
    le16(b, 1);
    le16(b, static_cast<unsigned>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (const auto &[e, data] : images) {
        b.push_back(e.width);
        b.push_back(e.height);
        b.push_back(0);
        b.push_back(0);
        le16(b, 1);
        le16(b, e.bits);
        le32(b, static_cast<std::int64_t>(data.size()));
        le32(b, static_cast<std::int64_t>(offset));
        offset += data.size();
    }
    for (const auto &[e, data] : images)
        testbytes::append(b, data);
    return b;
}

// Recognisable stand-in image bytes for icon `id`.
inline Bytes tag(unsigned id, std::size_t n = 24)
{
    Bytes b = testbytes::filler(n, id);
    b[0] = 'I';
    b[1] = static_cast<std::uint8_t>(id);
    b[2] = static_cast<std::uint8_t>(id >> 8);
    return b;
}

// An icon image: 32-bit BI_RGB DIB (alpha 0, so a plain icon) of one colour 0x00RRGGBB,
// height doubled, followed by an all-opaque AND mask.
inline Bytes dib32(int w, int h, std::uint32_t rgb)
{
    Bytes b;
    le32(b, 40);
    le32(b, w);
    le32(b, 2 * h);
    le16(b, 1);
    le16(b, 32);
    le32(b, 0);
    le32(b, 0);
    le32(b, 0);
    le32(b, 0);
    le32(b, 0);
    le32(b, 0);
    for (int i = 0; i < w * h; ++i)
        le32(b, rgb & 0xFFFFFF);
    b.resize(b.size() + static_cast<std::size_t>(((w + 31) / 32) * 4 * h), 0);
    return b;
}

// A monochrome icon image: 1 bpp with the palette {black, white}.
inline Bytes dibMono(int w, int h)
{
    Bytes b;
    le32(b, 40);
    le32(b, w);
    le32(b, 2 * h);
    le16(b, 1);
    le16(b, 1);
    for (int i = 0; i < 6; ++i)
        le32(b, 0);
    le32(b, 0);
    le32(b, 0xFFFFFF);
    b.resize(b.size() + 2 * static_cast<std::size_t>(((w + 31) / 32) * 4 * h), 0);
    return b;
}

// A PNG image (8-bit RGB, no filter) of one colour 0x00RRGGBB, as large icons store them.
inline Bytes png(int w, int h, std::uint32_t rgb)
{
    auto be32 = [](Bytes &b, std::uint32_t v) {
        for (int i = 3; i >= 0; --i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto chunk = [&](Bytes &out, const char *type, const Bytes &data) {
        be32(out, static_cast<std::uint32_t>(data.size()));
        Bytes typed(type, type + 4);
        testbytes::append(typed, data);
        testbytes::append(out, typed);
        be32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    };
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    be32(ihdr, static_cast<std::uint32_t>(w));
    be32(ihdr, static_cast<std::uint32_t>(h));
    testbytes::append(ihdr, Bytes{8, 2, 0, 0, 0});
    chunk(out, "IHDR", ihdr);
    Bytes raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x)
            testbytes::append(raw, Bytes{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                                         static_cast<std::uint8_t>(rgb)});
    }
    chunk(out, "IDAT", testbytes::zlibCompress(raw));
    chunk(out, "IEND", {});
    return out;
}

// A 24-bit bottom-up bitmap file of one colour 0x00RRGGBB.
inline Bytes bmp24(int w, int h, std::uint32_t rgb)
{
    const int stride = (w * 3 + 3) / 4 * 4;
    Bytes b = {'B', 'M'};
    le32(b, 54 + stride * h);
    le32(b, 0);
    le32(b, 54);
    le32(b, 40);
    le32(b, w);
    le32(b, h);
    le16(b, 1);
    le16(b, 24);
    for (int i = 0; i < 6; ++i)
        le32(b, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.push_back(static_cast<std::uint8_t>(rgb));
            b.push_back(static_cast<std::uint8_t>(rgb >> 8));
            b.push_back(static_cast<std::uint8_t>(rgb >> 16));
        }
        b.resize(b.size() + static_cast<std::size_t>(stride - w * 3), 0);
    }
    return b;
}

// A resource type or name: a number, or a name when `name` is set.
struct ResId {
    std::uint16_t id = 0;
    std::optional<std::u16string> name;
    bool operator==(const ResId &) const = default;
};
inline ResId num(std::uint16_t id) { return {id, std::nullopt}; }
inline ResId named(std::u16string n) { return {0, std::move(n)}; }

struct Resource {
    ResId type;
    ResId name;
    std::uint16_t language = 0x409;
    Bytes data;
};

inline Resource groupIcon(ResId name, Bytes dir, std::uint16_t lang = 0x409)
{
    return {num(14), std::move(name), lang, std::move(dir)};
}
inline Resource icon(std::uint16_t id, Bytes data, std::uint16_t lang = 0x409)
{
    return {num(3), num(id), lang, std::move(data)};
}

// A module of n groups, each one 32x32 image of its own colour (group i: icon id i + 1).
inline std::vector<Resource> coloredGroups(std::size_t n)
{
    std::vector<Resource> res;
    for (std::size_t i = 0; i < n; ++i) {
        const auto id = static_cast<std::uint16_t>(i + 1);
        const auto size = static_cast<std::uint32_t>(dib32(32, 32, 0).size());
        res.push_back(groupIcon(num(id), groupDir({{32, 32, 32, id, size}})));
        res.push_back(icon(id, dib32(32, 32, static_cast<std::uint32_t>(0x102030 * (i + 1)))));
    }
    return res;
}

struct PeOptions {
    bool pe64 = false;
    std::uint32_t rvaCount = 16;
    bool resourceDirectory = true;
    std::uint32_t rsrcVA = 0x5000;
};

struct PeImage {
    Bytes bytes;
    std::size_t rsrcHeader = 0; // file offset of the .rsrc section header
    std::size_t rsrc = 0;       // file offset of the resource root
    std::vector<std::size_t> dataEntry; // file offset of each resource's data entry, input order
    std::vector<std::size_t> data;      // file offset of each resource's bytes, input order
    // File offset of the directory of the type/name at its level, by first appearance.
    std::vector<std::size_t> typeDirs;
};

// Two sections: ".text" (VA 0x1000, file 0x200) and ".rsrc" (file 0x400) holding the tree
// root -> type -> name -> language with named entries first, each level in input order.
inline PeImage writePe(const std::vector<Resource> &resources, PeOptions opt = {})
{
    // Gather the tree in first-appearance order, named entries before numbered ones.
    struct Lang { std::uint16_t lang; std::size_t res; };
    struct Name { ResId id; std::vector<Lang> langs; };
    struct Type { ResId id; std::vector<Name> names; };
    std::vector<Type> types;
    for (std::size_t r = 0; r < resources.size(); ++r) {
        const Resource &res = resources[r];
        auto t = std::find_if(types.begin(), types.end(), [&](const Type &x) { return x.id == res.type; });
        if (t == types.end())
            t = types.insert(types.end(), Type{res.type, {}});
        auto n = std::find_if(t->names.begin(), t->names.end(), [&](const Name &x) { return x.id == res.name; });
        if (n == t->names.end())
            n = t->names.insert(t->names.end(), Name{res.name, {}});
        n->langs.push_back({res.language, r});
    }
    auto namedFirst = [](auto &v) {
        std::stable_partition(v.begin(), v.end(), [](const auto &x) { return x.id.name.has_value(); });
    };
    namedFirst(types);
    for (auto &t : types)
        namedFirst(t.names);

    Bytes sec;
    std::vector<std::pair<std::size_t, const std::u16string *>> namePatches; // entry field, name
    std::vector<std::pair<std::size_t, std::size_t>> dataPatches;           // entry field, resource
    auto dirHeader = [&](std::size_t named, std::size_t ids) {
        std::size_t at = sec.size();
        sec.resize(at + 16, 0);
        put16(sec, at + 12, static_cast<unsigned>(named));
        put16(sec, at + 14, static_cast<unsigned>(ids));
        return at;
    };
    auto entryName = [&](std::size_t at, const ResId &id) {
        if (id.name)
            namePatches.push_back({at, &*id.name});
        else
            put32(sec, at, id.id);
    };
    auto countNamed = [](const auto &v) {
        return static_cast<std::size_t>(std::count_if(v.begin(), v.end(), [](const auto &x) { return x.id.name.has_value(); }));
    };

    PeImage img;
    // Root, then every type directory, then every name directory (breadth first).
    std::size_t nt = countNamed(types);
    dirHeader(nt, types.size() - nt);
    std::size_t rootEntries = sec.size();
    sec.resize(sec.size() + 8 * types.size(), 0);
    std::vector<std::size_t> typeEntries;
    for (std::size_t i = 0; i < types.size(); ++i) {
        entryName(rootEntries + 8 * i, types[i].id);
        std::size_t at = dirHeader(countNamed(types[i].names), types[i].names.size() - countNamed(types[i].names));
        img.typeDirs.push_back(at);
        put32(sec, rootEntries + 8 * i + 4, static_cast<std::uint32_t>(at) | 0x80000000u);
        typeEntries.push_back(sec.size());
        sec.resize(sec.size() + 8 * types[i].names.size(), 0);
    }
    for (std::size_t i = 0; i < types.size(); ++i) {
        for (std::size_t j = 0; j < types[i].names.size(); ++j) {
            const Name &n = types[i].names[j];
            std::size_t e = typeEntries[i] + 8 * j;
            entryName(e, n.id);
            std::size_t at = dirHeader(0, n.langs.size());
            put32(sec, e + 4, static_cast<std::uint32_t>(at) | 0x80000000u);
            for (std::size_t k = 0; k < n.langs.size(); ++k) {
                std::size_t le = sec.size();
                sec.resize(le + 8, 0);
                put32(sec, le, n.langs[k].lang);
                dataPatches.push_back({le + 4, n.langs[k].res});
            }
        }
    }
    for (auto &[field, name] : namePatches) {
        put32(sec, field, static_cast<std::uint32_t>(sec.size()) | 0x80000000u);
        le16(sec, static_cast<unsigned>(name->size()));
        for (char16_t c : *name)
            le16(sec, c);
    }
    img.dataEntry.assign(resources.size(), 0);
    img.data.assign(resources.size(), 0);
    std::vector<std::size_t> entryAt(resources.size());
    for (auto &[field, r] : dataPatches) {
        while (sec.size() % 4)
            sec.push_back(0);
        entryAt[r] = sec.size();
        put32(sec, field, static_cast<std::uint32_t>(sec.size()));
        sec.resize(sec.size() + 16, 0);
    }
    for (std::size_t r = 0; r < resources.size(); ++r) {
        while (sec.size() % 4)
            sec.push_back(0);
        put32(sec, entryAt[r], opt.rsrcVA + static_cast<std::uint32_t>(sec.size()));
        put32(sec, entryAt[r] + 4, static_cast<std::uint32_t>(resources[r].data.size()));
        img.data[r] = sec.size();
        testbytes::append(sec, resources[r].data);
    }
    const std::size_t rawSize = (sec.size() + 0x1FF) & ~std::size_t{0x1FF};
    sec.resize(rawSize, 0);

    Bytes &f = img.bytes;
    f.assign(0x400, 0);
    f[0] = 'M';
    f[1] = 'Z';
    put32(f, 0x3C, 0x40);
    f[0x40] = 'P';
    f[0x41] = 'E';
    const std::size_t coff = 0x44;
    put16(f, coff, opt.pe64 ? 0x8664 : 0x14C);
    put16(f, coff + 2, 2);
    const unsigned optSize = opt.pe64 ? 240 : 224;
    put16(f, coff + 16, optSize);
    const std::size_t o = coff + 20;
    put16(f, o, opt.pe64 ? 0x20B : 0x10B);
    const std::size_t rvaCountAt = o + (opt.pe64 ? 108 : 92);
    put32(f, rvaCountAt, opt.rvaCount);
    if (opt.resourceDirectory) {
        put32(f, rvaCountAt + 4 + 16, opt.rsrcVA);
        put32(f, rvaCountAt + 4 + 20, static_cast<std::uint32_t>(rawSize));
    }
    const std::size_t sh = o + optSize;
    auto section = [&](std::size_t at, const char *name, std::uint32_t va, std::uint32_t size, std::uint32_t raw) {
        for (std::size_t i = 0; name[i]; ++i)
            f[at + i] = static_cast<std::uint8_t>(name[i]);
        put32(f, at + 8, size);
        put32(f, at + 12, va);
        put32(f, at + 16, size);
        put32(f, at + 20, raw);
    };
    section(sh, ".text", 0x1000, 0x200, 0x200);
    section(sh + 40, ".rsrc", opt.rsrcVA, static_cast<std::uint32_t>(rawSize), 0x400);
    img.rsrcHeader = sh + 40;
    img.rsrc = 0x400;
    testbytes::append(f, sec);
    for (std::size_t r = 0; r < resources.size(); ++r) {
        img.dataEntry[r] = 0x400 + entryAt[r];
        img.data[r] = 0x400 + img.data[r];
    }
    for (auto &t : img.typeDirs)
        t += 0x400;
    return img;
}

// 16-bit NE modules. `id` is stored as given (numbered resources carry bit 15); a resource
// with a `name` gets a name string in the resource table instead.
struct NeResource {
    NeResource(std::uint16_t t, std::uint16_t i, Bytes d, std::string n = {})
        : type(t), id(i), data(std::move(d)), name(std::move(n)) {}
    std::uint16_t type = 0;
    std::uint16_t id = 0;
    Bytes data;
    std::string name;
};

struct NeImage {
    Bytes bytes;
    std::size_t table = 0;              // file offset of the resource table
    std::vector<std::size_t> nameInfo;  // file offset of each resource's NAMEINFO, input order
};

// Type blocks in first-appearance order; data aligned to 1 << shift, lengths rounded up.
inline NeImage writeNe(const std::vector<NeResource> &resources, unsigned shift = 4)
{
    NeImage img;
    Bytes &f = img.bytes;
    f.assign(0x80, 0);
    f[0] = 'M';
    f[1] = 'Z';
    put32(f, 0x3C, 0x40);
    f[0x40] = 'N';
    f[0x41] = 'E';
    put16(f, 0x40 + 0x24, 0x40);
    img.table = 0x80;

    std::vector<std::uint16_t> types;
    for (const auto &r : resources)
        if (std::find(types.begin(), types.end(), r.type) == types.end())
            types.push_back(r.type);
    Bytes t;
    le16(t, shift);
    img.nameInfo.assign(resources.size(), 0);
    std::vector<std::pair<std::size_t, std::size_t>> dataFields; // NAMEINFO at, resource
    std::vector<std::pair<std::size_t, std::size_t>> nameFields;
    for (std::uint16_t type : types) {
        std::size_t n = 0;
        for (const auto &r : resources)
            n += r.type == type;
        le16(t, type);
        le16(t, static_cast<unsigned>(n));
        le32(t, 0);
        for (std::size_t r = 0; r < resources.size(); ++r) {
            if (resources[r].type != type)
                continue;
            img.nameInfo[r] = img.table + t.size();
            dataFields.push_back({t.size(), r});
            if (!resources[r].name.empty())
                nameFields.push_back({t.size() + 6, r});
            t.resize(t.size() + 12, 0);
            put16(t, t.size() - 6, resources[r].id);
        }
    }
    le16(t, 0);
    for (auto &[field, r] : nameFields) {
        put16(t, field, static_cast<unsigned>(t.size()));
        t.push_back(static_cast<std::uint8_t>(resources[r].name.size()));
        testbytes::append(t, resources[r].name);
    }
    t.push_back(0);
    put16(f, 0x40 + 0x26, static_cast<unsigned>(0x40 + t.size())); // resident names follow
    testbytes::append(f, t);
    const std::size_t unit = std::size_t{1} << shift;
    for (auto &[field, r] : dataFields) {
        while (f.size() % unit)
            f.push_back(0);
        const std::size_t at = img.table + field;
        put16(f, at, static_cast<unsigned>(f.size() >> shift));
        put16(f, at + 2, static_cast<unsigned>((resources[r].data.size() + unit - 1) >> shift));
        testbytes::append(f, resources[r].data);
    }
    return img;
}

} // namespace pewriter
