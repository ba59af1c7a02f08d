#pragma once
// The documents' date-times as QDateTime and back (local time, to the second).
#include "data/OleDateTime.h"
#include "res/Strings.h"

#include <QDateTime>

namespace trv {

// The date as the program writes it, for Qt's date fields: "dd.MM.yyyy", in English "dd/MM/yyyy".
inline QString QtDateFormat() {
    return CurrentLang() == Lang::en ? QStringLiteral("dd/MM/yyyy") : QStringLiteral("dd.MM.yyyy");
}

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
