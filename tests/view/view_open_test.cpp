// The Open command: the question before it, the dialog, good files, refused
// files and what survives them.
#include "database/channel_columns.h"
#include "database/channel_file.h"
#include "database/field_format.h"
#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;

TEST_F(ViewTest, OpenAsksForABinFileAndShowsIt) {
    testing::DatabaseShape shape;
    shape.groups = {{1, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 0}, {0, 0},
                    {1, 1}, {0, 0}, {0, 1}, {1, 0}, {1, 1}, {0, 0}};
    ChannelDatabase db = testing::buildDatabase(shape);
    const std::string path = writeFile("sample.bin", db);
    open(path);

    ASSERT_EQ(fake.dialogs.fileRequests().size(), 1u);
    const ui::FileDialogRequest& request = fake.dialogs.fileRequests()[0];
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.filter, "Dunvar sat (Vemora )(*.bin,*.sgn)|*.bin|All Files(*.*)|*.*|");
    EXPECT_EQ(request.default_extension, "bin");
    EXPECT_EQ(request.initial_name, "*.bin");
    EXPECT_EQ(request.flags, ui::OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(fake.dialogs.messages().empty());

    EXPECT_EQ(text(IDC_FILE_PATH), path);
    EXPECT_EQ(state().m_bLoaded, 1);
    EXPECT_EQ(tvList().rowCount(), static_cast<int>(db.tv.count));
    EXPECT_EQ(radioList().rowCount(), static_cast<int>(db.radio.count));
    for (int r = 0; r < tvList().rowCount(); ++r) {
        EXPECT_EQ(tvList().row(r).texts,
                  channelRowTexts(db, ChannelKind::Tv, static_cast<std::size_t>(r),
                                  CodePage::Windows1256));
    }
    EXPECT_EQ(tvList().selectedRow(), 0);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 0);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(0, 1));

    // One selector entry per transponder, in table order.
    const auto entries = form().items(IDC_TRANSPONDER_SELECTOR);
    ASSERT_EQ(entries.size(), db.transponders.count);
    for (std::size_t t = 0; t < entries.size(); ++t)
        EXPECT_EQ(entries[t], transponderSelectorText(db.transponders.primary[t]));

    // Captions of the ten boxes are groups 0..9 in the boxes' own order.
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(text(IDC_FAVOURITE_CHECK[k]), nameBytes(db.favourites.groups[k].name)) << k;
        EXPECT_TRUE(form().isEnabled(IDC_FAVOURITE_CHECK[k]));
    }
    EXPECT_EQ(IDC_FAVOURITE_CHECK[3], 1006);
    EXPECT_EQ(IDC_FAVOURITE_CHECK[4], 1008);
    EXPECT_EQ(IDC_FAVOURITE_CHECK[5], 1005);

    for (ui::ControlId id : {IDC_TV_SWITCH, IDC_RADIO_SWITCH, IDC_EDIT, IDC_SEARCH})
        EXPECT_TRUE(form().isEnabled(id)) << id;
    for (ui::ControlId id : {IDC_NEW, IDC_SAVE, IDC_DELETE, IDC_CANCEL})
        EXPECT_FALSE(form().isEnabled(id)) << id;
    EXPECT_TRUE(form().isReadOnly(IDC_CHANNEL_NAME));
}

TEST_F(ViewTest, MissingGroupsGiveEmptyCaptions) {
    testing::DatabaseShape shape;
    shape.groups = {{1, 0}, {0, 1}};
    openDatabase(testing::buildDatabase(shape));
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[0]), "Favourites 1");
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[2]), "");
    EXPECT_EQ(text(IDC_FAVOURITE_CHECK[9]), "");
}

TEST_F(ViewTest, CancellingTheDialogChangesNothingButTheListModes) {
    openDatabase(testing::buildDatabase());
    const std::string path = text(IDC_FILE_PATH);
    view->state().m_pending = CutPending{ChannelIndex(2)};
    view->OnFileOpen();  // no scripted answer: the user cancels
    EXPECT_EQ(text(IDC_FILE_PATH), path);
    EXPECT_FALSE(state().hasPendingChange());
    EXPECT_EQ(state().m_bLoaded, 1);
}

TEST_F(ViewTest, WrongMagicShowsBothReasonsInOneBoxAndKeepsThePreviousFile) {
    const ChannelDatabase db = testing::buildDatabase();
    openDatabase(db);
    const std::string good_path = text(IDC_FILE_PATH);
    const auto rows_before = tvList().rows();
    view->OnItemChanged(ChannelKind::Tv, 3);

    auto bytes = testing::fileBytesOf(db);
    bytes[0] = 0x00;
    open(writeBytes("bad_magic.bin", bytes));

    const std::vector<std::string> expected = {
        "Invalid Data Format!!!\nInvalid Data Format, Check the Source File"};
    EXPECT_EQ(fake.dialogs.messageTexts(), expected);
    for (const auto& m : fake.dialogs.messages()) {
        EXPECT_EQ(m.caption, "LuEdit");
        EXPECT_EQ(m.buttons, ui::MessageButtons::Ok);
    }
    EXPECT_EQ(tvList().rows(), rows_before);
    EXPECT_TRUE(testing::contentDifference(view->database(), db).empty());
    // The path of the tables in memory stays the current path.
    EXPECT_EQ(text(IDC_FILE_PATH), good_path);
    EXPECT_EQ(view->currentPath(), good_path);
    // A channel was selected: edit mode begins, and the user stays in the
    // list and on the row they were in.
    EXPECT_EQ(state().m_bEditing, 1);
    EXPECT_FALSE(form().isEnabled(IDC_EDIT));
    EXPECT_TRUE(form().isEnabled(IDC_SAVE));
    EXPECT_FALSE(form().isReadOnly(IDC_CHANNEL_NAME));
    EXPECT_TRUE(form().isVisible(IDC_TV_LIST));
    EXPECT_EQ(state().m_activeList, ActiveList::Tv);
    EXPECT_EQ(state().m_nSelectedTvRow.value, 3);
    EXPECT_EQ(text(IDC_CHANNEL_NAME), tvList().cellText(3, 1));
}

TEST_F(ViewTest, WrongFormatIdOnTheFirstOpenReturnsToTheReadOnlyForm) {
    auto bytes = testing::fileBytesOf(testing::buildDatabase());
    bytes[64] = 0x05;
    open(writeBytes("bad_format.bin", bytes));
    EXPECT_EQ(fake.dialogs.messageTexts(),
              std::vector<std::string>{"Invalid Data Format, Check the Source File"});
    EXPECT_EQ(state().m_bLoaded, 0);
    EXPECT_EQ(state().m_bEditing, 0);
    EXPECT_EQ(tvList().rowCount(), 0);
    EXPECT_TRUE(form().isReadOnly(IDC_CHANNEL_NAME));
    EXPECT_FALSE(form().isEnabled(IDC_FAVOURITE_CHECK[0]));
    EXPECT_FALSE(form().isEnabled(IDC_EDIT));
    EXPECT_EQ(text(IDC_FILE_PATH), "");
}

TEST_F(ViewTest, TruncatedFileIsRefusedLikeAWrongFormat) {
    auto bytes = testing::fileBytesOf(testing::buildDatabase());
    bytes.resize(bytes.size() / 2);
    open(writeBytes("short.bin", bytes));
    EXPECT_EQ(fake.dialogs.messageTexts(),
              std::vector<std::string>{"Invalid Data Format, Check the Source File"});
    EXPECT_EQ(state().m_bLoaded, 0);
}

TEST_F(ViewTest, UnreadableFileIsNamedWithTheReasonAndKeepsTheLoadedOne) {
    openDatabase(testing::buildDatabase());
    const std::string good_path = text(IDC_FILE_PATH);
    const int rows = tvList().rowCount();
    const std::string missing = good_path + ".does-not-exist";
    const std::string folder = std::filesystem::path(good_path).parent_path().string();
    // Through the dialog and from the command line alike.
    open(missing);
    view->OpenPath(folder);
    EXPECT_EQ(fake.dialogs.messageTexts(),
              (std::vector<std::string>{"Cannot open " + missing + ": No such file or directory",
                                        "Cannot open " + folder + ": Is a directory"}));
    EXPECT_EQ(view->currentPath(), good_path);
    EXPECT_EQ(text(IDC_FILE_PATH), good_path);
    EXPECT_EQ(state().m_bLoaded, 1);
    EXPECT_EQ(tvList().rowCount(), rows);
}

TEST_F(ViewTest, SecondFileWithFewerTranspondersReplacesTheSelector) {
    testing::DatabaseShape big;
    big.transponders = 9;
    openDatabase(testing::buildDatabase(big));
    ASSERT_EQ(form().items(IDC_TRANSPONDER_SELECTOR).size(), 9u);

    testing::DatabaseShape small;
    small.transponders = 2;
    small.tv = 3;
    small.seed = 7;
    const ChannelDatabase second = testing::buildDatabase(small);
    openDatabase(second, "second.bin");
    const auto entries = form().items(IDC_TRANSPONDER_SELECTOR);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1], transponderSelectorText(second.transponders.primary[1]));
    EXPECT_EQ(tvList().rowCount(), 3);
}

TEST_F(ViewTest, AFileWithNoRecordsLoads) {
    testing::DatabaseShape empty;
    empty.satellites = empty.transponders = empty.tv = empty.radio = 0;
    empty.groups = {};
    const ChannelDatabase db = testing::buildDatabase(empty);
    ASSERT_EQ(testing::fileBytesOf(db).size(), kEmptyFileSize);
    openDatabase(db);
    EXPECT_TRUE(fake.dialogs.messages().empty());
    EXPECT_EQ(state().m_bLoaded, 1);
    EXPECT_EQ(tvList().rowCount(), 0);
    EXPECT_EQ(state().m_nSelectedTvRow.value, -1);
}

TEST_F(ViewTest, PendingEditsAreOfferedForSavingBeforeTheNextOpen) {
    const ChannelDatabase db = testing::buildDatabase();
    const std::string first = writeFile("first.bin", db);
    open(first);
    view->onCommand(IDC_EDIT);
    ChannelRecord ch = view->database().tv.primary[0];
    ch.service_id = 0x4321;
    ASSERT_TRUE(
        view->document().apply(edit::SetChannelFields{ChannelKind::Tv, 0, ch}, {}, {}).ok());

    // No: the first file stays as it was.
    const auto before = readBytes(first);
    fake.dialogs.answerMessage(ui::MessageAnswer::No);
    open(writeFile("second.bin", db));
    ASSERT_FALSE(fake.dialogs.messages().empty());
    const ui::MessageBoxRequest& question = fake.dialogs.messages()[0];
    EXPECT_EQ(question.text, "Save changes to the All Data Channels?");
    EXPECT_EQ(question.caption, "Zo Editor");
    EXPECT_EQ(question.buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_EQ(readBytes(first), before);
    EXPECT_EQ(state().m_bEditing, 0);  // the load ends edit mode

    // Yes: the pages are committed and written before the new file replaces them.
    open(first);
    view->onCommand(IDC_EDIT);
    form().type(IDC_SERVICE_ID, "4321");
    fake.dialogs.clearRecords();
    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    open(writeFile("third.bin", db));
    ChannelDatabase reread;
    ASSERT_TRUE(loadChannelFile(first, reread).ok());
    EXPECT_EQ(reread.tv.primary[0].service_id, 0x4321);
    EXPECT_EQ(state().m_bSaved, 1);

    // Once saved, the question is not asked again.
    view->onCommand(IDC_EDIT);
    fake.dialogs.clearRecords();
    open(first);
    EXPECT_TRUE(fake.dialogs.messages().empty());
}

TEST_F(ViewTest, SaveWithoutAFileRefusesWithAMessage) {
    EXPECT_FALSE(view->Save());
    EXPECT_EQ(fake.dialogs.messages().size(), 1u);
}

TEST_F(ViewTest, OpenPathLoadsWithoutTheDialog) {
    const std::string path = writeFile("cmdline.bin", testing::buildDatabase());
    view->OpenPath(path);
    EXPECT_TRUE(fake.dialogs.fileRequests().empty());
    EXPECT_EQ(state().m_bLoaded, 1);
    EXPECT_EQ(text(IDC_FILE_PATH), path);
    EXPECT_GT(tvList().rowCount(), 0);
}

}  // namespace
}  // namespace zoedit::test

namespace zoedit::test {
namespace {

TEST_F(ViewTest, ClosingWithUnsavedEditsWritesTheFileOnlyOnYes) {
    const ChannelDatabase db = testing::buildDatabase();
    const std::string path = writeFile("close.bin", db);
    open(path);
    EXPECT_FALSE(view->hasUnsavedEdits());
    view->onCommand(ui::form::IDC_EDIT);
    ChannelRecord ch = view->database().tv.primary[1];
    ch.audio_pid = 0x0777;
    ASSERT_TRUE(
        view->document().apply(edit::SetChannelFields{ChannelKind::Tv, 1, ch}, {}, {}).ok());
    ASSERT_TRUE(view->hasUnsavedEdits());

    const auto before = readBytes(path);
    fake.dialogs.answerMessage(ui::MessageAnswer::No);
    EXPECT_TRUE(view->QueryLeaveFile(CZoEditView::LeaveFile::Close));
    EXPECT_EQ(readBytes(path), before);

    fake.dialogs.answerMessage(ui::MessageAnswer::Yes);
    EXPECT_TRUE(view->QueryLeaveFile(CZoEditView::LeaveFile::Close));
    ChannelDatabase reread;
    ASSERT_TRUE(loadChannelFile(path, reread).ok());
    EXPECT_EQ(reread.tv.primary[1].audio_pid, 0x0777);
    EXPECT_FALSE(view->hasUnsavedEdits());
}

}  // namespace
}  // namespace zoedit::test

namespace zoedit::test {
namespace {

using namespace ui::form;

TEST_F(ViewTest, ChangesAfterTheFirstSaveAreStillOfferedForSaving) {
    open(writeFile("again.bin", testing::buildDatabase()));
    view->onCommand(IDC_EDIT);
    ASSERT_TRUE(view->Save());
    EXPECT_FALSE(view->hasUnsavedEdits());
    fake.form.type(IDC_CHANNEL_NAME, "Typed");
    EXPECT_TRUE(view->hasUnsavedEdits());
    ASSERT_TRUE(view->Save());
    EXPECT_FALSE(view->hasUnsavedEdits());
    fake.form.setSelectedIndex(IDC_FEC, (fake.form.selectedIndex(IDC_FEC) + 1) % 6);
    view->onEvent({IDC_FEC, ui::EventKind::SelChange});
    EXPECT_TRUE(view->hasUnsavedEdits());
}

TEST_F(ViewTest, FavouriteBoxClicksCountAsChangesEvenOutsideEditMode) {
    open(writeFile("favourites.bin", testing::buildDatabase()));
    view->onEvent({IDC_CHANNEL_NAME, ui::EventKind::EditChange});  // read-only: no change
    EXPECT_FALSE(view->hasUnsavedEdits());
    view->onEvent({IDC_FAVOURITE_CHECK[4], ui::EventKind::Clicked});
    EXPECT_TRUE(view->hasUnsavedEdits());
    // Loading a file starts afresh (after the question, answered No here).
    open(writeFile("other.bin", testing::buildDatabase()));
    EXPECT_EQ(fake.dialogs.messageTexts().size(), 1u);
    EXPECT_FALSE(view->hasUnsavedEdits());
}

}  // namespace
}  // namespace zoedit::test
