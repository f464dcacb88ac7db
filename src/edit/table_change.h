// What one step changed in one table, stored as the smallest run of rows that
// differs (the common head and tail are left out), so that deleting or
// inserting a row costs that row and moving a row costs nothing: a run whose
// rows were turned by one place is kept as the turn alone.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace zoedit::edit::detail {

template <typename Record>
class TableChange {
public:
    // `before` and `after` are the table's rows below its count.
    TableChange(std::span<const Record> before, std::span<const Record> after)
        : count_before_(before.size()), count_after_(after.size()) {
        const std::size_t shorter = std::min(before.size(), after.size());
        while (offset_ < shorter && before[offset_] == after[offset_]) ++offset_;
        std::size_t tail = 0;
        while (tail < shorter - offset_ &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        const auto old_run = before.subspan(offset_, before.size() - tail - offset_);
        const auto new_run = after.subspan(offset_, after.size() - tail - offset_);
        if (old_run.empty() && new_run.empty()) return;
        const std::size_t n = old_run.size();
        if (n >= 2 && new_run.size() == n) {
            if (new_run[n - 1] == old_run[0] &&
                std::equal(new_run.begin(), new_run.end() - 1, old_run.begin() + 1)) {
                shape_ = Shape::TurnedForward;
                turned_ = n;
                return;
            }
            if (new_run[0] == old_run[n - 1] &&
                std::equal(new_run.begin() + 1, new_run.end(), old_run.begin())) {
                shape_ = Shape::TurnedBack;
                turned_ = n;
                return;
            }
        }
        shape_ = Shape::Replaced;
        old_rows_.assign(old_run.begin(), old_run.end());
        new_rows_.assign(new_run.begin(), new_run.end());
    }

    bool empty() const { return shape_ == Shape::None; }
    std::size_t heldBytes() const {
        return sizeof(*this) + (old_rows_.capacity() + new_rows_.capacity()) * sizeof(Record);
    }

    // Puts the rows back as they were before the step (`rows` is the table
    // at capacity, `count` its count).
    void undo(std::vector<Record>& rows, std::size_t& count) const {
        apply(rows, count, new_rows_, old_rows_, count_before_, shape_ == Shape::TurnedBack);
    }
    void redo(std::vector<Record>& rows, std::size_t& count) const {
        apply(rows, count, old_rows_, new_rows_, count_after_, shape_ == Shape::TurnedForward);
    }

private:
    enum class Shape { None, Replaced, TurnedForward, TurnedBack };

    void apply(std::vector<Record>& rows, std::size_t& count, const std::vector<Record>& from,
               const std::vector<Record>& to, std::size_t new_count, bool forward) const {
        const auto at = [&](std::size_t i) {
            return rows.begin() + static_cast<std::ptrdiff_t>(i);
        };
        switch (shape_) {
            case Shape::None:
                return;
            case Shape::TurnedForward:
            case Shape::TurnedBack:
                if (forward)
                    std::rotate(at(offset_), at(offset_ + 1), at(offset_ + turned_));
                else
                    std::rotate(at(offset_), at(offset_ + turned_ - 1), at(offset_ + turned_));
                return;
            case Shape::Replaced:
                break;
        }
        const std::size_t tail_from = offset_ + from.size();
        const std::size_t tail_to = offset_ + to.size();
        if (tail_to > tail_from)
            std::move_backward(at(tail_from), at(count), at(count + tail_to - tail_from));
        else if (tail_to < tail_from)
            std::move(at(tail_from), at(count), at(tail_to));
        std::copy(to.begin(), to.end(), at(offset_));
        if (new_count < count) std::fill(at(new_count), at(count), Record{});
        count = new_count;
    }

    std::size_t count_before_;
    std::size_t count_after_;
    std::size_t offset_ = 0;
    Shape shape_ = Shape::None;
    std::size_t turned_ = 0;
    std::vector<Record> old_rows_;
    std::vector<Record> new_rows_;
};

}  // namespace zoedit::edit::detail
