#pragma once
// The documents' date-times as QDateTime and back (local time, to the second).
#include "data/OleDateTime.h"

#include <QDateTime>

namespace trv {

inline QDateTime ToQDateTime(const COleDateTime& t) {
    DateParts p;
    if (!t.GetParts(p)) return QDateTime::currentDateTime();
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

inline COleDateTime FromQDateTime(const QDateTime& t) {
    return COleDateTime::FromParts(t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
                                   t.time().minute(), t.time().second());
}

}  // namespace trv
