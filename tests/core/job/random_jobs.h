#pragma once

#include <initializer_list>
#include <random>
#include <string>

#include "core/costing/control_catalogue.h"
#include "core/job/form_state.h"

namespace inkquot::testing {

inline void check(JobForm& form, Ctl box, int index, bool on = true) {
    form.setCheckState(box, index, on ? CheckState::Checked : CheckState::Unchecked);
}

// Fills a form that holds the starting contents with a random job of one
// kind, through the form's own event rules (a refused press goes back to
// 对开平印机, a size change resets its group's presses). The values stay
// inside the boxes' ranges; a job may still be one the costing refuses or
// whose piece does not fit its press sheet (a 2开 piece on 4开 press sheets).
class RandomJob {
public:
    RandomJob(std::mt19937& rng, FormState& form) : rng_(rng), f_(form) {}

    void fill(int kind) {
        f_.setListIndex(Ctl::comleibie, 0, kind);
        f_.setText(Ctl::txtshuliang, kind, std::to_string(between(1, 60000)));
        switch (kind) {
            case kBook:
                book();
                break;
            case kNewspaper:
                newspaper();
                break;
            case kSingleSheet:
                size(5, {"16", "8", "4", "2", "32", "3", "10"});
                printedPart(7);
                checks(Ctl::Chkdan, 6);
                finishing(2, 2, 1, 10);
                f_.setText(Ctl::Cmbzheci, 0, pick({"1", "2", "3", "4"}));
                break;
            case kBoxBag:
                size(6, {"16", "8", "4", "2", "1", "3", "9", "33"});
                printedPart(8);
                printedPart(9);
                ticks(Ctl::lsthe, 2);
                checks(Ctl::Chkhe, 8);
                finishing(3, 4, 2, 14);
                f_.setText(Ctl::txttang, 1, pick({"0", "8", "25.5"}));
                f_.setOption(Ctl::optwa, between(0, 2));
                f_.setOption(Ctl::optnian, between(0, 2));
                break;
            default:
                size(7, {"16", "8", "4", "32", "48", "100"});
                printedPart(10);
                f_.setListIndex(Ctl::Nzhibu, 0, between(0, 9));
                checks(Ctl::Chkbu, 5);
                f_.setListIndex(Ctl::Cmbfeilin, 4, between(-1, 2));
                f_.setListIndex(Ctl::comjiao, 6, between(0, 3));
                check(f_, Ctl::Chkban, 3, chance(0.7));
                f_.setText(Ctl::Comnd, 17, difficulty());
                f_.setText(Ctl::Comnd, 18, difficulty());
                break;
        }
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    std::string pick(std::initializer_list<const char*> items) {
        return *(items.begin() + between(0, static_cast<int>(items.size()) - 1));
    }
    std::string difficulty() { return pick({"1", "1", "1.2", "0.8", "2"}); }

    void size(int group, std::initializer_list<const char*> kai) {
        f_.setText(Ctl::Ncomkai, group, pick(kai));
        f_.setListIndex(Ctl::Ncomdu, group, between(0, 1));
        f_.setText(Ctl::Ntxtkaizhi, group, pick({"2", "2", "2", "1", "3", "4"}));
    }

    // Press, one of the sheet sizes it offers, self-turn, paper and colours.
    // The newspaper pages always go on the rotary press.
    void printedPart(int part) {
        if (part != 5 && part != 6) {
            pressAndSheet(part);
        }
        if (part != 10) {
            f_.setText(Ctl::Ncomke, part, pick({"157", "128", "80", "250", "60"}));
            f_.setListIndex(Ctl::Ncomzhi, part, between(0, 49));
        }
        const int front = part == 10 ? 20 : 2 * part;
        f_.setText(Ctl::Ncomyinse, front, pick({"4", "1", "2", "0"}));
        if (part != 10) {
            f_.setText(Ctl::Ncomyinse, front + 1, pick({"4", "1", "2", "0"}));
        }
        f_.setText(Ctl::Ncomzhuanse, part, pick({"0", "0", "1", "2"}));
        f_.setText(Ctl::Comnd, kPrintDifficultyIndex[static_cast<std::size_t>(part)], difficulty());
    }

    void pressAndSheet(int part) {
        f_.setListIndex(Ctl::Comyinji, part, between(0, part >= 8 ? 2 : 3));
        const auto& sizes = f_.items(Ctl::Cmbkaizhi, part);
        if (!sizes.empty()) {
            f_.setText(
                Ctl::Cmbkaizhi, part,
                sizes[static_cast<std::size_t>(between(0, static_cast<int>(sizes.size()) - 1))]);
        }
        if (f_.enabled(Ctl::Chkzifan, part)) {
            check(f_, Ctl::Chkzifan, part, chance(0.7));
        }
    }

    void checks(Ctl box, int count) {
        for (int i = 0; i < count; ++i) {
            check(f_, box, i, chance(i == 0 ? 0.85 : 0.5));
        }
    }

    void ticks(Ctl list, int count) {
        for (int i = 0; i < count; ++i) {
            f_.setTicked(list, i, chance(0.7));
        }
    }

    // The film mode, surface sides and type, die board and die difficulties
    // of a kind's panel.
    void finishing(int film, int surface, int board, int dieCut) {
        f_.setListIndex(Ctl::Cmbfeilin, film, between(-1, 2));
        f_.setListIndex(Ctl::comjiao, surface, between(0, 1));
        f_.setListIndex(Ctl::comjiao, surface + 1, between(0, 3));
        check(f_, Ctl::Chkban, board, chance(0.7));
        f_.setText(Ctl::Comnd, dieCut, difficulty());
        f_.setText(Ctl::Comnd, dieCut + 1, difficulty());
    }

    void book() {
        size(0, {"16", "16", "8", "32", "64", "24", "12"});
        size(1, {"8", "8", "4", "16"});
        size(2, {"8", "4", "16"});
        size(3, {"8", "4", "16", "6"});
        for (int part = 0; part < 5; ++part) {
            printedPart(part);
        }
        ticks(Ctl::Lsthua, 5);
        f_.setText(Ctl::txtye, 0, std::to_string(4 * between(0, 60)));
        f_.setText(Ctl::txtye, 1, std::to_string(4 * between(0, 30)));
        checks(Ctl::Chkhua, 6);
        finishing(0, 0, 0, 5);
        f_.setText(Ctl::txttang, 0, pick({"0", "12.5", "40"}));
        f_.setListIndex(Ctl::Cmbdin, 0, between(-1, 5));
    }

    void newspaper() {
        f_.setText(Ctl::Ncomkai, 4, pick({"2", "4", "8"}));
        f_.setListIndex(Ctl::Ncomdu, 4, between(0, 1));
        for (int part : {5, 6}) {
            printedPart(part);
        }
        ticks(Ctl::Lstbao, 2);
        f_.setText(Ctl::txtye, 2, std::to_string(4 * between(0, 12)));
        f_.setText(Ctl::txtye, 3, std::to_string(4 * between(0, 12)));
        checks(Ctl::Chkbao, 2);
        f_.setListIndex(Ctl::Cmbfeilin, 1, between(-1, 2));
    }

    std::mt19937& rng_;
    FormState& f_;
};

}  // namespace inkquot::testing
