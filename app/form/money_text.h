// Money as the windows show it: yuan, with the fen only when there are any.
#pragma once

#include <QString>

#include "core/draw_details.h"

namespace dlt::gui {

inline QString yuanText(Fen fen) {
    const QString sign = fen < 0 ? QStringLiteral("-") : QString();
    const Fen whole = fen < 0 ? -fen : fen;
    if (whole % 100 == 0)
        return sign + QString::number(whole / 100);
    return sign + QStringLiteral("%1.%2").arg(whole / 100).arg(whole % 100, 2, 10, QChar(u'0'));
}

} // namespace dlt::gui
