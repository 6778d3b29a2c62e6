#pragma once
// A main window with scripted message boxes and dialogs, and a scratch folder for files.

#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "platform/FileIO.h"
#include "support/ScriptedUi.h"
#include "support/TestBytes.h"
#include "support/TestIcons.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace formtest {

using pictarium::MsgResult;

class Form : public ::testing::Test {
protected:
    std::shared_ptr<scripted::Prompt> prompt = std::make_shared<scripted::Prompt>();
    std::shared_ptr<scripted::Dialogs> dialogs = std::make_shared<scripted::Dialogs>();
    QTemporaryDir dir;
    std::unique_ptr<pictarium::TMainForm> form;

    // A window made and started with the given command-line arguments.
    pictarium::TMainForm &start(const std::vector<std::string> &args = {})
    {
        form = std::make_unique<pictarium::TMainForm>(pictarium::UiServices{prompt, dialogs});
        form->FormCreate(args);
        return *form;
    }

    [[nodiscard]] std::string path(const std::string &name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }

    std::string writeFile(const std::string &name, const testbytes::Bytes &bytes)
    {
        const std::string p = path(name);
        pictarium::writeFileAtomically(p, bytes);
        return p;
    }

    // A library of two roots: "A" with the given entries, "B" without icons.
    std::string writeLibrary(const std::string &name, const std::vector<testbytes::Bytes> &images = {})
    {
        testbytes::IlfBuilder b;
        b.line("A").line("B");
        b.record(testbytes::Record::Raw, testbytes::payload(images)).record(testbytes::Record::None);
        return writeFile(name, b.build());
    }

    [[nodiscard]] std::string caption() const { return form->windowTitle().toStdString(); }
    [[nodiscard]] std::string panel(int i) const { return form->panelText(i).toStdString(); }

    [[nodiscard]] std::vector<std::string> captions() const
    {
        std::vector<std::string> c;
        auto &m = form->iconModel();
        for (int r = 0; r < m.rowCount(); ++r)
            c.push_back(m.data(m.index(r), Qt::DisplayRole).toString().toStdString());
        return c;
    }
    [[nodiscard]] std::vector<int> imageIndices() const
    {
        std::vector<int> c;
        auto &m = form->iconModel();
        for (int r = 0; r < m.rowCount(); ++r)
            c.push_back(m.data(m.index(r), pictarium::IconListModel::ImageIndexRole).toInt());
        return c;
    }

    pictarium::LibraryNode *node(std::size_t preorder) const { return form->tree().nodeAt(preorder); }

    // Selects exactly the given rows of the icon view.
    void selectItems(const std::vector<int> &rows)
    {
        QItemSelection s;
        auto &m = form->iconModel();
        for (int r : rows)
            s.select(m.index(r), m.index(r));
        form->ListView1->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    }
};

} // namespace formtest
