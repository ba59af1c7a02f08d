#pragma once
// A line edit's key filter: refuses every key that cannot lead to a valid entry, by one of the
// plain rules of InputRules.h. Whether the finished text is valid is checked when it is taken.
#include <QValidator>

#include <string_view>

class CInputValidator : public QValidator {
    Q_OBJECT
public:
    using Rule = bool (*)(std::string_view);
    CInputValidator(Rule partialOk, QObject* parent) : QValidator(parent), m_partialOk(partialOk) {}
    State validate(QString& input, int& pos) const override;

private:
    Rule m_partialOk;
};
