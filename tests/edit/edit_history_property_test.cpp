// Long random sequences of operations, undos and redos on random files,
// checked after every step against a deliberately naive model in which
// records carry an identity and refer to each other by it, and against the
// invariants of the data model.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "database/invariants.h"
#include "edit/edit_history.h"
#include "support/database_builder.h"

namespace zoedit::edit {
namespace {

struct Sat {
    int id;
    SatelliteRecord fields;
    bool operator==(const Sat&) const = default;
};
struct Tp {
    int id;
    int sat;
    TransponderRecord fields;
    bool operator==(const Tp&) const = default;
};
struct Ch {
    int id;
    int tp;
    ChannelRecord fields;
    bool operator==(const Ch&) const = default;
};
struct Group {
    std::string name;
    std::vector<int> tv, radio;  // channel ids
    bool operator==(const Group&) const = default;
};

struct Model {
    std::vector<Sat> sats;
    std::vector<Tp> tps;
    std::vector<Ch> tv, radio;
    std::vector<Group> groups;
    int next_id = 100000;
    bool operator==(const Model& o) const {
        return sats == o.sats && tps == o.tps && tv == o.tv && radio == o.radio &&
               groups == o.groups;
    }

    std::vector<Ch>& list(ChannelKind k) { return k == ChannelKind::Tv ? tv : radio; }
    static std::vector<int>& side(Group& g, ChannelKind k) {
        return k == ChannelKind::Tv ? g.tv : g.radio;
    }
    std::size_t entries(ChannelKind k) {
        std::size_t n = 0;
        for (auto& g : groups) n += side(g, k).size();
        return n;
    }
    void dropChannels(ChannelKind k, const std::function<bool(const Ch&)>& gone) {
        std::vector<int> ids;
        for (auto& c : list(k))
            if (gone(c)) ids.push_back(c.id);
        std::erase_if(list(k), gone);
        for (auto& g : groups)
            std::erase_if(side(g, k),
                          [&](int id) { return std::count(ids.begin(), ids.end(), id) > 0; });
    }
    void dropTransponders(const std::function<bool(const Tp&)>& gone) {
        std::vector<int> ids;
        for (auto& t : tps)
            if (gone(t)) ids.push_back(t.id);
        for (ChannelKind k : {ChannelKind::Tv, ChannelKind::Radio})
            dropChannels(k,
                         [&](const Ch& c) { return std::count(ids.begin(), ids.end(), c.tp) > 0; });
        std::erase_if(tps, gone);
    }

    // Applies the operation; false when it must be refused (nothing changed).
    bool apply(const EditOperation& op) {
        if (auto* o = std::get_if<SetSatelliteFields>(&op)) {
            if (o->satellite >= sats.size() || o->values.position > 3599) return false;
            sats[o->satellite].fields = o->values;
        } else if (auto* o = std::get_if<SetChannelLock>(&op)) {
            if (o->row >= list(o->kind).size()) return false;
            list(o->kind)[o->row].fields.locked = o->locked;
        } else if (auto* o = std::get_if<SetChannelFields>(&op)) {
            if (o->row >= list(o->kind).size()) return false;
            list(o->kind)[o->row].fields = o->values;
        } else if (auto* o = std::get_if<InsertChannel>(&op)) {
            auto& l = list(o->kind);
            if (l.size() >= kChannelCapacity || o->row > l.size() ||
                o->record.transponder_index >= tps.size())
                return false;
            l.insert(l.begin() + o->row,
                     Ch{next_id++, tps[o->record.transponder_index].id, o->record});
        } else if (auto* o = std::get_if<InsertTransponder>(&op)) {
            auto& l = list(o->kind);
            if (o->transponder >= tps.size() || o->row >= l.size()) return false;
            const Tp old = tps[o->transponder];
            const Tp fresh{next_id++, old.sat, old.fields};
            tps.insert(tps.begin() + o->transponder, fresh);
            for (auto* chs : {&tv, &radio})
                for (auto& c : *chs)
                    if (c.tp == old.id) c.tp = fresh.id;
            const Ch copied{next_id++, l[o->row].tp, l[o->row].fields};
            l.insert(l.begin() + o->row, copied);
        } else if (auto* o = std::get_if<InsertSatellite>(&op)) {
            if (sats.size() >= kMaxSatelliteCount) return false;
            sats.push_back({next_id++, o->satellite});
            tps.push_back({next_id++, sats.back().id, o->transponder});
            list(o->kind).push_back({next_id++, tps.back().id, o->channel});
        } else if (auto* o = std::get_if<DeleteChannel>(&op)) {
            if (o->row >= list(o->kind).size()) return false;
            const int id = list(o->kind)[o->row].id;
            dropChannels(o->kind, [id](const Ch& c) { return c.id == id; });
        } else if (auto* o = std::get_if<DeleteTransponder>(&op)) {
            if (o->transponder >= tps.size()) return false;
            const Tp gone = tps[o->transponder];
            dropTransponders([&](const Tp& t) { return t.id == gone.id; });
            if (!tps.empty() && std::none_of(tps.begin(), tps.end(),
                                             [&](const Tp& t) { return t.sat == gone.sat; }))
                std::erase_if(sats, [&](const Sat& s) { return s.id == gone.sat; });
        } else if (auto* o = std::get_if<DeleteSatellite>(&op)) {
            if (o->satellite >= sats.size()) return false;
            const int id = sats[o->satellite].id;
            dropTransponders([id](const Tp& t) { return t.sat == id; });
            sats.erase(sats.begin() + o->satellite);
        } else if (auto* o = std::get_if<MoveChannel>(&op)) {
            auto& l = list(o->kind);
            if (o->from >= l.size() || o->to >= l.size()) return false;
            const Ch c = l[o->from];
            l.erase(l.begin() + o->from);
            l.insert(l.begin() + o->to, c);
        } else if (auto* o = std::get_if<AddFavourite>(&op)) {
            if (o->group >= groups.size() || o->channel >= list(o->kind).size()) return false;
            auto& s = side(groups[o->group], o->kind);
            const int id = list(o->kind)[o->channel].id;
            const std::size_t at = o->position.value_or(s.size() + 1);
            if (std::count(s.begin(), s.end(), id) || at < 1 || at > s.size() + 1 ||
                entries(o->kind) >= kFavouriteMemberCapacity)
                return false;
            s.insert(s.begin() + (at - 1), id);
        } else if (auto* o = std::get_if<RemoveFavourite>(&op)) {
            if (o->group >= groups.size() || o->channel >= list(o->kind).size()) return false;
            auto& s = side(groups[o->group], o->kind);
            const auto it = std::find(s.begin(), s.end(), list(o->kind)[o->channel].id);
            if (it == s.end()) return false;
            s.erase(it);
        } else if (auto* o = std::get_if<MoveFavourite>(&op)) {
            if (o->group >= groups.size()) return false;
            auto& s = side(groups[o->group], o->kind);
            if (o->from < 1 || o->from > s.size() || o->to < 1 || o->to > s.size()) return false;
            const int id = s[o->from - 1];
            s.erase(s.begin() + (o->from - 1));
            s.insert(s.begin() + (o->to - 1), id);
        } else if (auto* o = std::get_if<RenameFavouriteGroup>(&op)) {
            if (o->group >= groups.size()) return false;
            groups[o->group].name = o->name.substr(0, kGroupNameSize - 1);
        } else if (auto* o = std::get_if<ClearFavouriteGroup>(&op)) {
            if (o->group >= groups.size()) return false;
            side(groups[o->group], o->kind).clear();
        }
        return true;
    }
};

Model modelOf(const ChannelDatabase& db) {
    Model m;
    for (std::size_t i = 0; i < db.satellites.count; ++i)
        m.sats.push_back({int(i), db.satellites.primary[i]});
    for (std::size_t i = 0; i < db.transponders.count; ++i)
        m.tps.push_back({int(1000 + i), db.transponders.primary[i].satellite_index,
                         db.transponders.primary[i]});
    for (ChannelKind k : {ChannelKind::Tv, ChannelKind::Radio}) {
        const auto& t = db.channels(k);
        for (std::size_t i = 0; i < t.count; ++i)
            m.list(k).push_back({int((k == ChannelKind::Tv ? 10000 : 50000) + i),
                                 int(1000 + t.primary[i].transponder_index), t.primary[i]});
    }
    for (std::size_t g = 0; g < db.favouriteGroupCount(); ++g) {
        Group group{nameBytes(db.favourites.groups[g].name), {}, {}};
        for (ChannelKind k : {ChannelKind::Tv, ChannelKind::Radio})
            for (auto v : db.groupMembers(g, k)) Model::side(group, k).push_back(m.list(k)[v].id);
        m.groups.push_back(group);
    }
    return m;
}

// Empty when the database holds exactly what the model says.
std::string mismatch(const Model& m, const ChannelDatabase& db) {
    const auto indexOf = [](const auto& v, int id) -> long {
        for (std::size_t i = 0; i < v.size(); ++i)
            if (v[i].id == id) return long(i);
        return -1;
    };
    if (db.satellites.count != m.sats.size()) return "satellite count";
    for (std::size_t i = 0; i < m.sats.size(); ++i)
        if (!(db.satellites.primary[i] == m.sats[i].fields))
            return "satellite " + std::to_string(i);
    if (db.transponders.count != m.tps.size()) return "transponder count";
    for (std::size_t i = 0; i < m.tps.size(); ++i) {
        TransponderRecord want = m.tps[i].fields;
        want.satellite_index = std::uint8_t(indexOf(m.sats, m.tps[i].sat));
        if (!(db.transponders.primary[i] == want)) return "transponder " + std::to_string(i);
    }
    for (ChannelKind k : {ChannelKind::Tv, ChannelKind::Radio}) {
        const auto& l = k == ChannelKind::Tv ? m.tv : m.radio;
        if (db.channels(k).count != l.size()) return "channel count";
        for (std::size_t i = 0; i < l.size(); ++i) {
            ChannelRecord want = l[i].fields;
            want.transponder_index = std::uint16_t(indexOf(m.tps, l[i].tp));
            if (!(db.channels(k).primary[i] == want)) return "channel " + std::to_string(i);
        }
        for (std::size_t g = 0; g < m.groups.size(); ++g) {
            std::vector<long> want;
            for (int id : k == ChannelKind::Tv ? m.groups[g].tv : m.groups[g].radio)
                want.push_back(indexOf(l, id));
            const auto got = db.groupMembers(g, k);
            if (!std::equal(want.begin(), want.end(), got.begin(), got.end()))
                return "favourite group " + std::to_string(g);
        }
    }
    for (std::size_t g = 0; g < m.groups.size(); ++g)
        if (nameBytes(db.favourites.groups[g].name) != m.groups[g].name) return "group name";
    return {};
}

struct Generator {
    std::mt19937 rng;
    std::size_t below(std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    }
    // Mostly in range, now and then one past it, which must be refused.
    std::size_t index(std::size_t count) { return below(8) == 0 ? count + below(2) : below(count); }
    ChannelKind kind() { return below(2) ? ChannelKind::Tv : ChannelKind::Radio; }

    EditOperation operation(const ChannelDatabase& db) {
        const ChannelKind k = kind();
        const std::size_t channels = db.channels(k).count;
        const std::size_t groups = db.favouriteGroupCount();
        ChannelRecord ch = channels ? db.channels(k).primary[below(channels)] : ChannelRecord{};
        ch.transponder_index = std::uint16_t(index(db.transponders.count));
        ch.service_id = std::uint16_t(rng());
        SatelliteRecord sat{std::uint8_t(below(2)), std::uint16_t(below(3700)), {}};
        setNameBytes(sat.name, "Sat " + std::to_string(rng() % 1000));
        switch (below(16)) {
            case 0:
                return SetSatelliteFields{index(db.satellites.count), sat};
            case 1:
                return SetChannelFields{k, index(channels), ch};
            case 2:
                return SetChannelLock{k, index(channels), below(2) == 0};
            case 3:
                return InsertChannel{k, index(channels + 1), ch};
            case 4:
                return InsertTransponder{index(db.transponders.count), k, index(channels)};
            case 5:
                return InsertSatellite{k, SatelliteRecord{0, 100, {}},
                                       TransponderRecord{1, 2, 11000, 27500, 1, 3, 0}, ch};
            case 6:
            case 7:
                return DeleteChannel{k, index(channels)};
            case 8:
                return below(3) ? DeleteTransponder{index(db.transponders.count)}
                                : EditOperation{DeleteSatellite{index(db.satellites.count)}};
            case 9:
            case 10:
                return MoveChannel{k, index(channels), index(channels)};
            case 11: {
                std::optional<std::size_t> at;
                if (below(2)) at = 1 + below(db.groupMembers(0, k).size() + 2);
                return AddFavourite{index(groups), k, index(channels), at};
            }
            case 12:
                return RemoveFavourite{index(groups), k, index(channels), {}};
            case 13: {
                const std::size_t g = index(groups);
                const std::size_t size = g < groups ? db.groupMembers(g, k).size() : 0;
                return MoveFavourite{g, k, 1 + index(size), 1 + index(size)};
            }
            case 14:
                return RenameFavouriteGroup{index(groups),
                                            std::string(below(30), char('a' + below(26)))};
            default:
                return ClearFavouriteGroup{index(groups), k};
        }
    }
};

TEST(EditHistoryProperty, RandomOperationsUndosAndRedosMatchANaiveModel) {
    for (std::uint32_t file = 1; file <= 24; ++file) {
        Generator gen{std::mt19937(file)};
        testing::DatabaseShape shape;
        shape.seed = file;
        shape.satellites = 1 + gen.below(6);
        shape.transponders = 1 + gen.below(14);
        shape.tv = 1 + gen.below(40);  // the builder fills groups from channel 0
        shape.radio = 1 + gen.below(20);
        shape.groups.clear();
        for (std::size_t g = gen.below(14); g > 0; --g)
            shape.groups.push_back({gen.below(8), gen.below(4)});
        ChannelDatabase db = testing::buildDatabase(shape);

        EditHistory history;
        Model model = modelOf(db);
        std::vector<Model> done{model}, undone;
        std::vector<std::pair<RowSelection, RowSelection>> selections, undone_selections;
        Model saved = model;
        for (int step = 0; step < 400; ++step) {
            const auto where = "file " + std::to_string(file) + " step " + std::to_string(step);
            const std::size_t roll = gen.below(10);
            if (roll == 0 && history.canUndo()) {
                RowSelection sel;
                ASSERT_TRUE(history.undo(db, sel).ok()) << where;
                undone.push_back(done.back());
                done.pop_back();
                undone_selections.push_back(selections.back());
                selections.pop_back();
                EXPECT_EQ(sel, undone_selections.back().first) << where;
                model = done.back();
            } else if (roll == 1 && history.canRedo()) {
                RowSelection sel;
                ASSERT_TRUE(history.redo(db, sel).ok()) << where;
                done.push_back(undone.back());
                undone.pop_back();
                selections.push_back(undone_selections.back());
                undone_selections.pop_back();
                EXPECT_EQ(sel, selections.back().second) << where;
                model = done.back();
            } else if (roll == 2) {
                history.markSaved();
                saved = model;
            } else {
                const EditOperation op = gen.operation(db);
                const RowSelection before{ChannelKind::Tv, int(gen.below(9)), -1};
                const RowSelection after{ChannelKind::Radio, -1, int(gen.below(9))};
                Model next = model;
                const bool allowed = next.apply(op);
                const std::size_t steps = history.stepCount();
                const bool could_redo = history.canRedo();
                const EditResult result = history.apply(db, op, before, after);
                ASSERT_EQ(result.ok(), allowed)
                    << where << " " << operationName(op) << ": " << result.message;
                EXPECT_EQ(result.message.empty(), allowed) << where;
                const bool stepped =
                    history.stepCount() != steps || could_redo != history.canRedo();
                if (stepped) {
                    done.push_back(next);
                    selections.emplace_back(before, after);
                    undone.clear();
                    undone_selections.clear();
                    EXPECT_EQ(history.undoName(), operationName(op)) << where;
                } else {
                    // No step: the change, if any, cannot be seen in the tables
                    // (a record moved among identical ones).
                    ASSERT_EQ(mismatch(model, db), "") << where << " " << operationName(op);
                    done.back() = next;
                }
                model = next;
            }
            ASSERT_EQ(mismatch(model, db), "") << where;
            ASSERT_EQ(checkInvariants(db), std::vector<std::string>{}) << where;
            ASSERT_EQ(history.canUndo(), done.size() > 1) << where;
            ASSERT_EQ(history.canRedo(), !undone.empty()) << where;
            if (history.isAtSavedState()) ASSERT_TRUE(model == saved) << where;
        }
    }
}

}  // namespace
}  // namespace zoedit::edit
