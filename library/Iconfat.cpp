#include "Iconfat.h"

#include "platform/Codepage.h"
#include "platform/FileIO.h"
#include "platform/LargeBuffer.h"
#include "platform/Limits.h"
#include "platform/PlatformError.h"
#include "platform/Zlib.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace pictarium {

std::optional<TILFHeader> TILFHeader::read(ByteView file)
{
    if (file.size() < kILFHeaderSize)
        return std::nullopt;
    TILFHeader h;
    for (std::size_t i = 0; i < 3; ++i)
        h.Signature[i] = *file.u8(i);
    h.Version = *file.u8(3);
    h.VersionSuffix = *file.u8(4);
    h.TextOffset = *file.i32(8);
    h.TextEnd = *file.i32(12);
    h.RecordOffset = *file.i32(16);
    h.FileSize = *file.i32(20);
    return h;
}

void TILFHeader::write(ByteWriter &out) const
{
    for (auto b : Signature)
        out.u8(b);
    out.u8(Version);
    out.u8(VersionSuffix);
    out.zeros(3);
    out.i32(TextOffset);
    out.i32(TextEnd);
    out.i32(RecordOffset);
    out.i32(FileSize);
    out.zeros(20);
}

bool IsILFMagic(const TILFHeader &header)
{
    return header.Signature[0] == ')' && header.Signature[1] == ',' && header.Signature[2] == '&';
}

void SetILFMagic(TILFHeader &header)
{
    header.Signature = {')', ',', '&'};
    header.Version = '2';
    header.VersionSuffix = '0';
}

std::string ExtractBaseName(const std::string &path)
{
    auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

std::string IlfInvalidLevel::message() const
{
    std::string text = "Invalid level (" + std::to_string(level) + ") for item \"" + ansiToUtf8(title) + "\"";
    return text;
}

namespace {

// Builds the tree from the text lines; the whole text is checked before anything is kept.
std::variant<LibraryTree, IlfInvalidLevel, IlfRejected> parseTreeText(ByteSpan text)
{
    if (auto nul = std::find(text.begin(), text.end(), std::uint8_t{0}); nul != text.end())
        text = text.first(static_cast<std::size_t>(nul - text.begin()));

    LibraryTree tree;
    LibraryNode *previous = nullptr;
    int previousLevel = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        std::size_t next = end;
        if (next < text.size()) {
            next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        }
        ByteSpan line = text.subspan(at, end - at);
        at = next;

        std::size_t blanks = 0;
        while (blanks < line.size() && (line[blanks] == '\t' || line[blanks] == ' '))
            ++blanks;
        Bytes title(line.begin() + static_cast<std::ptrdiff_t>(blanks), line.end());
        const int level = blanks > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(blanks);

        LibraryNode *node;
        int nodeLevel;
        if (!previous) {
            node = tree.add(nullptr, std::move(title));
            nodeLevel = 0;
        } else if (level == previousLevel) {
            node = tree.add(previous, std::move(title));
            nodeLevel = previousLevel;
        } else if (level == previousLevel + 1) {
            if (static_cast<std::size_t>(level) >= kLimits.maxTreeDepth)
                return IlfRejected{"title tree nested deeper than " + std::to_string(kLimits.maxTreeDepth) + " levels"};
            node = tree.addChild(previous, std::move(title));
            nodeLevel = level;
        } else if (level < previousLevel) {
            // Climb to the first ancestor whose level is not above the line's; the new node
            // becomes its sibling.
            LibraryNode *p = previous->parent();
            int pLevel = previousLevel - 1;
            while (p && pLevel > level) {
                p = p->parent();
                --pLevel;
            }
            node = tree.add(p, std::move(title));
            nodeLevel = p ? pLevel : 0;
        } else {
            return IlfInvalidLevel{level, std::move(title)};
        }
        previous = node;
        // Levels are counted from the tree, not the blanks: a first line with blanks is a root.
        previousLevel = nodeLevel;
    }
    return tree;
}

IlfRejected rejected(std::string reason) { return IlfRejected{std::move(reason)}; }

} // namespace

namespace {

// Salvages a record's payload and notes, for check, where the entries did not add up.
std::optional<TIconBlock> salvageNoted(Bytes buffer, std::size_t index, std::vector<std::string> *problems)
{
    const std::size_t payload = buffer.size() - 4;
    const auto declared = ByteView(buffer).i32(4);
    auto block = TIconBlock::salvage(std::move(buffer));
    if (problems) {
        if (!block)
            problems->push_back("node " + std::to_string(index) + ": payload of " + std::to_string(payload) +
                                " bytes is too short to hold Count");
        else if (static_cast<std::size_t>(block->Size()) != payload || block->Count() != *declared)
            problems->push_back("node " + std::to_string(index) + ": entries do not add up (Count " +
                                std::to_string(*declared) + ", " + std::to_string(payload) +
                                " payload bytes; " + std::to_string(block->Count()) + " whole entries kept)");
    }
    return block;
}

IlfReadResult parseWithNotes(ByteSpan bytes, std::vector<std::string> *problems)
{
    ByteView file(bytes);
    auto header = TILFHeader::read(file);
    if (!header)
        return rejected("shorter than the 44-byte header");
    if (!IsILFMagic(*header))
        return rejected("not a library file (signature)");
    if (header->FileSize < 0 || static_cast<std::size_t>(header->FileSize) != file.size())
        return rejected("FileSize field does not match the file's length");

    const std::int64_t textLength = std::int64_t{header->TextEnd} - header->TextOffset;
    if (textLength < 0)
        return rejected("tree text has a negative length");
    auto text = file.sub(kILFHeaderSize, static_cast<std::size_t>(textLength));
    if (!text)
        return rejected("tree text runs past the end of the file");
    if (header->RecordOffset < 0)
        return rejected("record offset lies outside the file");

    auto treeOrError = parseTreeText(text->bytes());
    if (auto *bad = std::get_if<IlfInvalidLevel>(&treeOrError))
        return std::move(*bad);
    if (auto *bad = std::get_if<IlfRejected>(&treeOrError))
        return std::move(*bad);

    IlfContents contents;
    contents.tree = std::move(std::get<LibraryTree>(treeOrError));
    contents.version = static_cast<char>(header->Version);
    const bool version1 = header->Version == '1';

    ByteReader records(file);
    if (!records.seek(static_cast<std::size_t>(header->RecordOffset)))
        return rejected("record offset lies outside the file");

    std::int64_t total = 0;
    std::string failure;
    std::size_t index = 0;
    Inflater inflater;
    contents.tree.forEachPreorder([&](LibraryNode &node) {
        const std::size_t nodeIndex = index++;
        auto note = [&](const std::string &what) {
            if (problems)
                problems->push_back("node " + std::to_string(nodeIndex) + ": " + what);
        };
        if (!failure.empty())
            return;
        auto n = records.i32();
        if (!n) {
            failure = "fewer records than titles";
            return;
        }
        if (*n < 0) {
            failure = "a record has a negative length";
            return;
        }
        if (*n == 0)
            return;
        const auto payloadLength = static_cast<std::size_t>(*n);

        std::optional<TIconBlock> block;
        if (version1) {
            auto payload = records.take(payloadLength);
            if (!payload) {
                failure = "a record runs past the end of the file";
                return;
            }
            Bytes buffer = largeBuffer(4 + payloadLength);
            std::copy(payload->bytes().begin(), payload->bytes().end(), buffer.begin() + 4);
            block = salvageNoted(std::move(buffer), nodeIndex, problems);
        } else {
            auto c = records.i32();
            if (!c || *c < 0) {
                failure = c ? "a record has a negative stored length" : "a record runs past the end of the file";
                return;
            }
            auto stored = records.take(static_cast<std::size_t>(*c));
            if (!stored) {
                failure = "a record runs past the end of the file";
                return;
            }
            const auto storedLength = static_cast<std::size_t>(*c);
            if (storedLength == payloadLength) {
                Bytes buffer = largeBuffer(4 + payloadLength);
                std::copy(stored->bytes().begin(), stored->bytes().end(), buffer.begin() + 4);
                block = salvageNoted(std::move(buffer), nodeIndex, problems);
            } else if (storedLength > 0 && storedLength < payloadLength &&
                       payloadLength <= kLimits.maxBlockBytes &&
                       payloadLength / kLimits.maxInflateRatio <= storedLength) {
                // A claimed length zlib could not reach from these bytes is damage, not a
                // reason to allocate it.
                Bytes buffer = largeBuffer(4 + payloadLength);
                if (auto produced = inflater.uncompress(stored->bytes(), std::span(buffer).subspan(4))) {
                    if (*produced != payloadLength)
                        note("decompressed to " + std::to_string(*produced) + " bytes, record says " +
                             std::to_string(payloadLength));
                    buffer.resize(4 + *produced);
                    block = salvageNoted(std::move(buffer), nodeIndex, problems);
                } else {
                    note("compressed payload does not decompress; loaded without icons");
                }
            } else if (storedLength > 0 && storedLength < payloadLength) {
                note("claims " + std::to_string(payloadLength) + " bytes from " + std::to_string(storedLength) +
                     " compressed bytes, more than zlib can expand; loaded without icons");
            } else {
                // Other stored lengths (0, or more than the payload) leave the node without icons.
                note("stored length " + std::to_string(storedLength) + " does not fit payload length " +
                     std::to_string(payloadLength) + "; loaded without icons");
            }
        }
        if (block) {
            total += block->Count();
            node.block = std::move(block);
        }
    });
    if (!failure.empty())
        return rejected(failure);
    contents.iconTotal = static_cast<std::int32_t>(std::min<std::int64_t>(total, INT32_MAX));
    return contents;
}

} // namespace

IlfReadResult parseILF(ByteSpan bytes) { return parseWithNotes(bytes, nullptr); }

std::vector<std::string> checkILF(ByteSpan bytes)
{
    std::vector<std::string> problems;
    IlfReadResult result = parseWithNotes(bytes, &problems);
    if (auto *bad = std::get_if<IlfRejected>(&result))
        problems.insert(problems.begin(), "File Error!!: " + bad->reason);
    else if (auto *level = std::get_if<IlfInvalidLevel>(&result))
        problems.insert(problems.begin(), level->message());
    return problems;
}

namespace {

// One record's bytes: 0 for no block; N, C and the zlib stream when that is shorter than the
// payload; otherwise N followed by the whole block. `scratch` is the worker's reusable
// compression buffer, so only the bytes kept are ever allocated per record.
void encodeRecord(const LibraryNode &node, Bytes &out, Deflater &deflater, Bytes &scratch)
{
    ByteWriter w(out);
    if (!node.block) {
        w.i32(0);
        return;
    }
    const ByteSpan payload = node.block->payload();
    const std::int32_t n = node.block->Size();
    if (scratch.size() < payload.size())
        scratch.resize(payload.size());
    auto produced = deflater.compress(payload, std::span(scratch).first(payload.size()));
    w.i32(n);
    if (produced && *produced < payload.size()) {
        out.reserve(8 + *produced);
        w.i32(static_cast<std::int32_t>(*produced));
        w.bytes(ByteSpan(scratch.data(), *produced));
        return;
    }
    w.bytes(node.block->bytes());
}

} // namespace

Bytes serializeILF(const LibraryTree &tree, unsigned threads)
{
    std::vector<const LibraryNode *> nodes;
    nodes.reserve(tree.count());
    std::vector<int> levels;
    levels.reserve(tree.count());
    {
        // Levels come from the walk itself instead of a parent climb per node.
        std::vector<std::pair<const LibraryNode *, int>> stack;
        for (auto it = tree.topLevel().rbegin(); it != tree.topLevel().rend(); ++it)
            stack.push_back({it->get(), 0});
        while (!stack.empty()) {
            auto [n, level] = stack.back();
            stack.pop_back();
            nodes.push_back(n);
            levels.push_back(level);
            for (auto it = n->children().rbegin(); it != n->children().rend(); ++it)
                stack.push_back({it->get(), level + 1});
        }
    }

    Bytes text;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        text.insert(text.end(), static_cast<std::size_t>(levels[i]), '\t');
        text.insert(text.end(), nodes[i]->title.begin(), nodes[i]->title.end());
        text.push_back('\r');
        text.push_back('\n');
    }

    // Records compress independently; workers take nodes from a shared counter and each
    // record lands in its own slot, so the output never depends on scheduling.
    std::vector<Bytes> records(nodes.size());
    unsigned workers = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    workers = static_cast<unsigned>(std::min<std::size_t>(workers, std::max<std::size_t>(1, nodes.size())));
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        Deflater deflater;
        Bytes scratch;
        for (std::size_t i; (i = next.fetch_add(1)) < nodes.size();)
            encodeRecord(*nodes[i], records[i], deflater, scratch);
    };
    if (workers <= 1) {
        work();
    } else {
        std::vector<std::jthread> pool;
        for (unsigned t = 1; t < workers; ++t)
            pool.emplace_back(work);
        work();
    }

    std::size_t recordBytes = 0;
    for (const auto &r : records)
        recordBytes += r.size();
    const std::size_t fileSize = kILFHeaderSize + text.size() + recordBytes;
    if (fileSize > static_cast<std::size_t>(INT32_MAX))
        throw PlatformError("Library too large to write (over 2 GiB)");

    TILFHeader header;
    SetILFMagic(header);
    header.TextOffset = static_cast<std::int32_t>(kILFHeaderSize);
    header.TextEnd = header.RecordOffset = static_cast<std::int32_t>(kILFHeaderSize + text.size());
    header.FileSize = static_cast<std::int32_t>(fileSize);

    Bytes file;
    reserveLarge(file, fileSize);
    ByteWriter w(file);
    header.write(w);
    w.bytes(text);
    for (const auto &r : records)
        w.bytes(r);
    return file;
}

IlfLoadResult loadILF(const std::string &path)
{
    if (!fileExists(path))
        return IlfMissing{};
    const Bytes bytes = readWholeFile(path);
    IlfReadResult parsed = parseILF(bytes);
    return std::visit([](auto &&r) -> IlfLoadResult { return std::move(r); }, std::move(parsed));
}

std::size_t saveILF(const std::string &path, const LibraryTree &tree, unsigned threads)
{
    const Bytes bytes = serializeILF(tree, threads);
    writeFileAtomically(path, bytes);
    return bytes.size();
}

} // namespace pictarium
