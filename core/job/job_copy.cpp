#include "core/job/job_copy.h"

#include "core/costing/control_catalogue.h"

namespace inkquot {

namespace {

void copyList(const JobForm& from, JobForm& to, Ctl c, int i) {
    const int position = from.listIndex(c, i);
    if (position >= 0 || controlDef(c).kind == ControlKind::PositionList) {
        to.setListIndex(c, i, position);
    } else {
        to.setText(c, i, from.text(c, i));
    }
}

void copyControl(const JobForm& from, JobForm& to, const ControlDef& d, int i) {
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

}  // namespace

ApplyStep applyStepOf(Ctl control) {
    switch (control) {
        case Ctl::comleibie:
            return ApplyStep::Kind;
        case Ctl::Ncomdu:
        case Ctl::Ncomkai:
        case Ctl::Ntxtkaizhi:
            return ApplyStep::SizeEntries;
        case Ctl::Comyinji:
            return ApplyStep::Presses;
        case Ctl::Cmbkaizhi:
            return ApplyStep::SheetSizes;
        case Ctl::Chkzifan:
            return ApplyStep::SelfTurn;
        default:
            return ApplyStep::Rest;
    }
}

void copyJob(const JobForm& from, JobForm& to) {
    for (const ApplyStep step : kApplySteps) {
        if (step == ApplyStep::Kind) {
            to.setListIndex(Ctl::comleibie, 0, from.listIndex(Ctl::comleibie));
            continue;
        }
        if (step == ApplyStep::SizeEntries) {
            // Group by group: a group's series and 开 before its press sheet.
            for (int g = 0; g < kSizeGroupCount; ++g) {
                copyList(from, to, Ctl::Ncomdu, g);
                copyList(from, to, Ctl::Ncomkai, g);
                to.setText(Ctl::Ntxtkaizhi, g, from.text(Ctl::Ntxtkaizhi, g));
            }
            continue;
        }
        for (const ControlDef& d : controlCatalogue()) {
            if (applyStepOf(d.control) == step) {
                for (int i = 0; i < d.count(); ++i) {
                    copyControl(from, to, d, i);
                }
            }
        }
    }
}

}  // namespace inkquot
