#pragma once

#include <functional>

#include "ui/output/output_services.h"

class QWidget;
class TicketWindow;

namespace inkquot {
struct PaperNames;
struct PricedJob;
}  // namespace inkquot

// "施工单": the production ticket of the last pricing run, dated today, its
// papers named from `names`, shown in its window (modally; `showModal`
// replaces the window's own event loop). A job the ticket refuses (a part
// its press cannot take, no part printed) gets a warning and no window.
// True when the window was shown.
bool showProductionTicket(QWidget* parent, const inkquot::PricedJob& job,
                          const inkquot::PaperNames& names, OutputServices services,
                          const std::function<void(TicketWindow&)>& showModal = {});
