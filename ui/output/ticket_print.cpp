#include "ui/output/ticket_print.h"

#include "core/common/clock.h"
#include "core/job/production_ticket.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/ticket_window.h"

bool showProductionTicket(QWidget* parent, const inkquot::PricedJob& job,
                          const inkquot::PaperNames& names, OutputServices services,
                          const std::function<void(TicketWindow&)>& showModal) {
    const inkquot::TicketOutcome outcome = inkquot::ticketOf(job, names, services.clock.today());
    if (!outcome.ok()) {
        services.dialogs.warning(parent, fromUtf8(outcome.refusal));
        return false;
    }
    TicketWindow window(outcome.ticket, services, parent);
    if (showModal) {
        showModal(window);
    } else {
        window.exec();
    }
    return true;
}
