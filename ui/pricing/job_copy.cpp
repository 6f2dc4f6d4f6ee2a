#include "ui/pricing/job_copy.h"

#include "core/costing/control_catalogue.h"

using inkquot::ControlDef;
using inkquot::ControlKind;
using inkquot::Ctl;

namespace {

bool copiedEarly(Ctl c) {
    switch (c) {
        case Ctl::comleibie:
        case Ctl::Ncomdu:
        case Ctl::Ncomkai:
        case Ctl::Ntxtkaizhi:
        case Ctl::Comyinji:
        case Ctl::Cmbkaizhi:
        case Ctl::Chkzifan:
            return true;
        default:
            return false;
    }
}

void copyList(const inkquot::JobForm& from, inkquot::JobForm& to, Ctl c, int i) {
    const int position = from.listIndex(c, i);
    if (position >= 0 || inkquot::controlDef(c).kind == ControlKind::PositionList) {
        to.setListIndex(c, i, position);
    } else {
        to.setText(c, i, from.text(c, i));
    }
}

void copyControl(const inkquot::JobForm& from, inkquot::JobForm& to, const ControlDef& d, int i) {
    switch (d.kind) {
        case ControlKind::TextBox:
            to.setText(d.control, i, from.text(d.control, i));
            return;
        case ControlKind::TextList:
        case ControlKind::PositionList:
            copyList(from, to, d.control, i);
            return;
        case ControlKind::CheckBox:
            to.setCheckState(d.control, i, from.checkState(d.control, i));
            return;
        case ControlKind::PartList:
            for (int item = 0; item < static_cast<int>(d.entries.front().items.size()); ++item) {
                to.setTicked(d.control, item, from.ticked(d.control, item));
            }
            return;
        case ControlKind::OptionGroup:
            to.setOption(d.control, from.option(d.control));
            return;
    }
}

void copyAll(const inkquot::JobForm& from, inkquot::JobForm& to, Ctl c) {
    const ControlDef& d = inkquot::controlDef(c);
    for (int i = 0; i < d.count(); ++i) {
        copyControl(from, to, d, i);
    }
}

}  // namespace

void copyJob(const inkquot::JobForm& from, inkquot::JobForm& to) {
    to.setListIndex(Ctl::comleibie, 0, from.listIndex(Ctl::comleibie));
    for (int g = 0; g < inkquot::kSizeGroupCount; ++g) {
        copyList(from, to, Ctl::Ncomdu, g);
        copyList(from, to, Ctl::Ncomkai, g);
        to.setText(Ctl::Ntxtkaizhi, g, from.text(Ctl::Ntxtkaizhi, g));
    }
    copyAll(from, to, Ctl::Comyinji);
    copyAll(from, to, Ctl::Cmbkaizhi);
    copyAll(from, to, Ctl::Chkzifan);
    for (const ControlDef& d : inkquot::controlCatalogue()) {
        if (!copiedEarly(d.control)) {
            for (int i = 0; i < d.count(); ++i) {
                copyControl(from, to, d, i);
            }
        }
    }
}
