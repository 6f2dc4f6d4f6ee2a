#pragma once

#include <map>
#include <string>
#include <utility>

#include "core/costing/job_form.h"

namespace inkquot::testing {

// A job form over maps: what a test does not set reads as an empty text, no
// selection, unchecked and unticked.
class FakeJobForm : public JobForm {
public:
    std::string text(Ctl c, int i = 0) const override { return find(texts_, c, i, std::string()); }
    int listIndex(Ctl c, int i = 0) const override { return find(lists_, c, i, -1); }
    CheckState checkState(Ctl c, int i) const override {
        return find(checks_, c, i, CheckState::Unchecked);
    }
    bool ticked(Ctl list, int item) const override { return find(ticks_, list, item, false); }
    int option(Ctl group) const override { return find(options_, group, 0, -1); }

    void setText(Ctl c, int i, const std::string& t) override { texts_[{c, i}] = t; }
    void setListIndex(Ctl c, int i, int p) override { lists_[{c, i}] = p; }
    void setCheckState(Ctl c, int i, CheckState s) override { checks_[{c, i}] = s; }
    void setTicked(Ctl list, int item, bool t) override { ticks_[{list, item}] = t; }
    void setOption(Ctl group, int chosen) override { options_[{group, 0}] = chosen; }

    void check(Ctl c, int i, bool on = true) {
        setCheckState(c, i, on ? CheckState::Checked : CheckState::Unchecked);
    }

    // The printing controls of part j as a clerk would fill them: press-sheet
    // Kai, weight, paper position (from 0), colours, no spot colour, press
    // position (from 0), difficulty 1.
    void printing(int part, const std::string& sheetKai, const std::string& gsm, int paper,
                  const std::string& front, const std::string& back, int press = 0) {
        setText(Ctl::Cmbkaizhi, part, sheetKai);
        setText(Ctl::Ncomke, part, gsm);
        setListIndex(Ctl::Ncomzhi, part, paper);
        setText(Ctl::Ncomyinse, 2 * part, front);
        setText(Ctl::Ncomyinse, 2 * part + 1, back);
        setText(Ctl::Ncomzhuanse, part, "0");
        setListIndex(Ctl::Comyinji, part, press);
        setText(Ctl::Comnd, difficultyIndex(part), "1");
    }

    // The finishing controls of a section as the form starts them: the film
    // choice `film` and the two surface choices from `surface` on at their
    // first entries, die-cut and die-board difficulty 1 from `dieCut` on.
    void finishingAtStart(int film, int surface, int dieCut) {
        setListIndex(Ctl::Cmbfeilin, film, 0);
        setListIndex(Ctl::comjiao, surface, 0);
        setListIndex(Ctl::comjiao, surface + 1, 0);
        setText(Ctl::Comnd, dieCut, "1");
        setText(Ctl::Comnd, dieCut + 1, "1");
    }

    static int difficultyIndex(int part) {
        constexpr int kIndex[] = {0, 1, 2, 3, 4, 7, 8, 9, 12, 13, 16};
        return kIndex[part];
    }

private:
    template <typename V>
    static V find(const std::map<std::pair<Ctl, int>, V>& m, Ctl c, int i, V fallback) {
        const auto it = m.find({c, i});
        return it == m.end() ? fallback : it->second;
    }

    std::map<std::pair<Ctl, int>, std::string> texts_;
    std::map<std::pair<Ctl, int>, int> lists_;
    std::map<std::pair<Ctl, int>, CheckState> checks_;
    std::map<std::pair<Ctl, int>, bool> ticks_;
    std::map<std::pair<Ctl, int>, int> options_;
};

}  // namespace inkquot::testing
