#include "view/widgets/InputValidator.h"

QValidator::State CInputValidator::validate(QString& input, int&) const {
    // Leading blanks come from the formatting ("  400"), not from the user.
    qsizetype first = 0;
    while (first < input.size() && input[first].isSpace()) ++first;
    const std::string text = input.mid(first).toStdString();
    return m_partialOk(text) ? Acceptable : Invalid;
}
