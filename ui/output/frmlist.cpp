#include "ui/output/frmlist.h"

FrmList::FrmList(QWidget* parent) : PriceSheet(parent) {
    setObjectName(QStringLiteral("frmlist"));
}
