// Long random sequences of user actions over good, refused and odd files:
// the view must never crash or read outside a table, and what it shows must
// stay consistent with what it holds.
#include <random>

#include "view_fixture.h"

namespace zoedit::test {
namespace {

using namespace ui::form;

class ViewSequence : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        testing::DatabaseShape a;
        files.push_back(writeFile("a.bin", testing::buildDatabase(a)));
        testing::DatabaseShape b;
        b.satellites = 1;
        b.transponders = 2;
        b.tv = 0;
        b.radio = 5;
        b.groups = {{0, 3}};
        b.seed = 3;
        files.push_back(writeFile("b.bin", testing::buildDatabase(b)));
        // Broken links everywhere: channel and transponder indexes past the tables.
        ChannelDatabase broken = testing::buildDatabase();
        for (std::size_t i = 0; i < broken.tv.count; ++i) {
            ChannelRecord ch = broken.tv.primary[i];
            ch.transponder_index = static_cast<std::uint16_t>(i * 500);
            put(broken.tv, i, ch);
        }
        TransponderRecord tp = broken.transponders.primary[0];
        tp.satellite_index = 250;
        put(broken.transponders, 0, tp);
        files.push_back(writeFile("broken.bin", broken));
        auto bad = testing::fileBytesOf(testing::buildDatabase());
        bad[1] = 0;
        files.push_back(writeBytes("bad.bin", bad));
        bad.resize(90);
        bad[1] = 0xAA;
        files.push_back(writeBytes("short.bin", bad));
        files.push_back(files[0] + ".missing");
    }

    void checkConsistency() {
        const ChannelDatabase& db = view->database();
        EXPECT_EQ(tvList().rowCount(), state().m_bLoaded ? static_cast<int>(db.tv.count) : 0);
        EXPECT_EQ(radioList().rowCount(), state().m_bLoaded ? static_cast<int>(db.radio.count) : 0);
        EXPECT_NE(form().isVisible(IDC_TV_LIST), form().isVisible(IDC_RADIO_LIST));
        EXPECT_GE(state().m_nSelectedTvRow.value, -1);
        EXPECT_GE(state().m_nSelectedRadioRow.value, -1);
        EXPECT_EQ(form().items(IDC_TRANSPONDER_SELECTOR).size(),
                  state().m_bLoaded ? db.transponders.count : 0u);
        for (ui::ControlId id : IDC_FAVOURITE_POSITION) EXPECT_EQ(text(id).size(), 3u);
    }

    std::vector<std::string> files;
};

TEST_F(ViewSequence, RandomActionsKeepTheViewConsistent) {
    std::mt19937 random(12345);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 1500; ++step) {
        switch (pick(9)) {
            case 0:
                fake.dialogs.answerMessage(pick(2) ? ui::MessageAnswer::Yes
                                                   : ui::MessageAnswer::No);
                open(files[static_cast<std::size_t>(pick(static_cast<int>(files.size())))]);
                break;
            case 1:
                view->OnFileOpen();  // cancelled
                break;
            case 2:
            case 3: {
                const bool tv = pick(2);
                view->onEvent(
                    {tv ? IDC_TV_LIST : IDC_RADIO_LIST, ui::EventKind::ItemChanged, pick(14) - 1});
                break;
            }
            case 4:
                form().setSelectedIndex(IDC_TAB, pick(3));
                view->onEvent({IDC_TAB, ui::EventKind::SelChange});
                break;
            case 5:
                view->onCommand(pick(2) ? ui::cmd::ID_VIEW_TV : ui::cmd::ID_VIEW_RADIO);
                break;
            case 6:
                view->onEvent({IDC_EDIT, ui::EventKind::Clicked});
                break;
            case 7:
                switch (pick(4)) {
                    case 0:
                        view->state().m_pending =
                            DragInProgress{ChannelIndex(static_cast<std::size_t>(pick(10)))};
                        break;
                    case 1:
                        view->state().m_pending =
                            CutPending{ChannelIndex(static_cast<std::size_t>(pick(10)))};
                        break;
                    default:
                        view->state().clearPendingChange();
                }
                break;
            case 8:
                view->onEvent({pick(2) ? IDC_TV_LIST : IDC_RADIO_LIST, ui::EventKind::ItemClick,
                               pick(12) - 1});
                break;
        }
        checkConsistency();
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "after step " << step;
            return;
        }
    }
}

}  // namespace
}  // namespace zoedit::test
