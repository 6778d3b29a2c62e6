#pragma once
// The window with scripted dialogs, message boxes and progress, plus helpers to build a
// library in place and to look at what the commands did.

#include "app/FormFixture.h"
#include "library/IconBlock.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <optional>

namespace importexport {

using pictarium::ByteSpan;
using pictarium::LibraryNode;
using pictarium::TIconBlock;
using testbytes::Bytes;

// Records each run and step; cancels when asked to at a given step of a given run.
class ScriptedProgress : public pictarium::ProgressService {
public:
    struct Run {
        std::string title;
        std::size_t total = 0;
        std::vector<std::string> steps;
    };
    std::vector<Run> runs;
    std::optional<std::size_t> cancelAtStep; // index of the step that sees Cancel pressed
    int open = 0;

    void begin(const std::string &title, std::size_t total) override
    {
        runs.push_back({title, total, {}});
        ++open;
    }
    bool step(std::size_t index, const std::string &path) override
    {
        runs.back().steps.push_back(path);
        return !(cancelAtStep && *cancelAtStep == index);
    }
    void end() override { --open; }
};

class Window : public formtest::Form {
protected:
    std::shared_ptr<ScriptedProgress> progress = std::make_shared<ScriptedProgress>();

    pictarium::TMainForm &startWindow(const std::vector<std::string> &args = {})
    {
        // The window reads and writes its settings and desktop files: keep them in this
        // test's folder, away from the user's and from the other tests.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(path("config")));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
        form = std::make_unique<pictarium::TMainForm>(pictarium::UiServices{prompt, dialogs, progress});
        form->FormCreate(args);
        return *form;
    }

    // A top-level node (or a child of parent) with the given entries (nullopt: no block).
    LibraryNode *addNode(const std::string &title, std::optional<std::vector<Bytes>> images,
                         LibraryNode *parent = nullptr)
    {
        auto &model = form->treeModel();
        LibraryNode *n = parent ? model.addChild(parent, testbytes::str(title)) : model.add(nullptr, testbytes::str(title));
        if (images) {
            std::vector<ByteSpan> spans(images->begin(), images->end());
            model.setBlock(n, TIconBlock::fromImages(spans));
        }
        return n;
    }

    void chooseFiles(const std::vector<std::string> &files) { dialogs->fileAnswers.push_back(files); }
    void cancelDialog() { dialogs->fileAnswers.push_back(std::nullopt); }

    [[nodiscard]] static std::string titleOf(const LibraryNode *n)
    {
        return n ? std::string(n->title.begin(), n->title.end()) : std::string("(none)");
    }
    [[nodiscard]] std::vector<std::string> topTitles() const
    {
        std::vector<std::string> t;
        for (const auto &n : form->tree().topLevel())
            t.push_back(titleOf(n.get()));
        return t;
    }
    [[nodiscard]] static std::vector<std::size_t> entrySizes(const LibraryNode *n)
    {
        std::vector<std::size_t> s;
        if (n && n->block)
            pictarium::forEachEntry(*n->block, [&](std::int32_t, ByteSpan img) { s.push_back(img.size()); });
        return s;
    }
    // The names of the files in the scratch folder, sorted.
    [[nodiscard]] std::vector<std::string> filesIn(const std::string &sub = {}) const
    {
        std::vector<std::string> names;
        for (const auto &e : std::filesystem::directory_iterator(sub.empty() ? path("") : path(sub)))
            if (e.is_regular_file())
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    [[nodiscard]] Bytes readFile(const std::string &name) const { return pictarium::readWholeFile(path(name)); }
};

} // namespace importexport
