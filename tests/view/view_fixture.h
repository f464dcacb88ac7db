// A main view on the fake platform, with helpers that write channel files
// into a private temporary folder and open them through the file dialog.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/database_builder.h"
#include "support/fake_platform.h"
#include "support/test_dir.h"
#include "ui/resource_ids.h"
#include "view/zoedit_view.h"

namespace zoedit::test {

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testScratchDir("zoedit_view_");
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ViewHooks hooks;
        hooks.read_settings = [this] { ++settings_reads; };
        hooks.port_command = [this] { ++port_commands; };
        view = std::make_unique<CZoEditView>(fake.platform(), hooks);
        view->OnInitialUpdate();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string writeBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = dir_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    std::string writeFile(const std::string& name, const ChannelDatabase& db) {
        return writeBytes(name, testing::fileBytesOf(db));
    }
    std::vector<std::uint8_t> readBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Opens through the scripted file dialog.
    void open(const std::string& path) {
        fake.dialogs.answerFile(path);
        view->OnFileOpen();
    }
    void openDatabase(const ChannelDatabase& db, const std::string& name = "first.bin") {
        open(writeFile(name, db));
    }

    FakeForm& form() { return fake.form; }
    FakeListControl& tvList() { return fake.form.fakeList(ui::form::IDC_TV_LIST); }
    FakeListControl& radioList() { return fake.form.fakeList(ui::form::IDC_RADIO_LIST); }
    const EditorState& state() const { return view->state(); }
    std::string text(ui::ControlId id) { return fake.form.text(id); }

    FakePlatform fake{{ui::form::IDC_TV_LIST, ui::form::IDC_RADIO_LIST}};
    std::unique_ptr<CZoEditView> view;
    int settings_reads = 0;
    int port_commands = 0;

private:
    std::filesystem::path dir_;
};

// Sets a record in both copies, as loading would.
template <typename Table, typename Record>
void put(Table& table, std::size_t i, const Record& record) {
    table.primary.at(i) = record;
    table.working.at(i) = record;
}

}  // namespace zoedit::test
