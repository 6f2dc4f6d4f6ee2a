#pragma once

#include <string>
#include <vector>

#include "core/job/production_ticket.h"

namespace inkquot {

// The wording of the production ticket as it prints: blocks of captioned
// fields that the page lays out three to a row.

struct TicketField {
    std::string label;  // without the colon
    std::string value;
    int span = 1;  // columns taken, 1 to 3
};

struct TicketBlock {
    std::string title;
    std::vector<TicketField> fields;
};

// Sheets as the press room counts them: whole sheets, rounded up (a part
// of a sheet is a sheet to fetch). The last bits of a value that is a whole
// number in decimal do not add one.
double wholeSheets(double sheets);
// The same grouped by thousands ("1,264").
std::string wholeSheetsText(double sheets);
// The same whole sheets in 令 (500 sheets), three decimals ("2.528").
std::string reamsText(double sheets);
// The press sheet by its Kai: "全张", "对开", "4开" ...
std::string pressSheetText(float sheetKai);
// "铜版纸 157g/m² 大度"; sticker paper has no weight.
std::string paperText(const TicketPaper& paper);

std::vector<TicketField> headerFields(const TicketHeader& header);
TicketBlock partBlock(const TicketPart& part);
TicketBlock bindingBlock(const TicketBinding& binding);
TicketBlock paperUseBlock(const std::vector<PaperUse>& papers);

// The parts, the binding when there is one, and the paper use last.
std::vector<TicketBlock> ticketBlocks(const ProductionTicket& ticket);

}  // namespace inkquot
