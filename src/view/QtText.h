#pragma once
// String-table texts as QString.
#include "res/Format.h"
#include "res/Strings.h"

#include <QString>

#include <string>

namespace trv {

inline QString QStr(int id) { return QString::fromUtf8(LoadStr(id)); }
inline QString QU8(const std::string& s) { return QString::fromStdString(s); }
// A menu or button text whose string-table form marks the accelerator with "&".
inline QString QMenuText(int id) { return QStr(id); }

}  // namespace trv
