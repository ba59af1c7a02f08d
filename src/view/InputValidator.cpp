#include "InputValidator.h"

QValidator::State CInputValidator::validate(QString& input, int&) const {
    const std::string text = input.toStdString();
    return m_partialOk(text) ? Acceptable : Invalid;
}
