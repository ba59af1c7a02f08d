#include "print/ProtocolText.h"

#include "data/InputRules.h"
#include "data/ManualIds.h"
#include "data/TRVDoc.h"
#include "res/Format.h"
#include "res/Strings.h"

#include <cmath>
#include <cstring>

namespace trv {

std::string ProtocolHeaderText(const UserDataType& user, const COleDateTime& today) {
    return user.m_strFirstName + " " + user.m_strLastName + LoadStr(IDS_PRN_TITLE_DATE) + today.FormatDate();
}

std::string ProtocolFooterText(int page) { return std::string(LoadStr(IDS_PRN_CONTACT)) + FmtId(IDS_PRN_PAGE, page); }

std::string AthleteText(const UserDataType& user) {
    // What was never entered stays empty, as in "Benutzerdaten": the birth date of day 0 and a
    // weight or height that prints as 0 (not "30.12.1899" or "0 kg").
    const std::string birth = BirthDateText(user.m_BirthDate);
    std::string text =
        FmtId(IDS_PRN_ATHLETE, user.m_strFirstName.c_str(), user.m_strLastName.c_str(), user.m_strStreet.c_str(),
              user.m_strPostCode.c_str(), user.m_strTown.c_str(), user.m_strPhone.c_str(), user.m_strEmail.c_str(),
              birth.c_str(), user.m_dWeight, user.m_dHeight, LoadStr(user.m_nSex == 0 ? IDS_SEX_MALE : IDS_SEX_FEMALE));
    const auto blank = [&text](double value, const char* printed) {
        if (std::lround(value) > 0) return;
        const size_t at = text.find(printed);
        if (at != std::string::npos) text.replace(at, std::strlen(printed), "\t");
    };
    blank(user.m_dWeight, "\t0 kg");
    blank(user.m_dHeight, "\t0 cm");
    return text;
}

std::string AnalyserText(const CTRVDoc& doc) {
    return FmtId(IDS_PRN_DEVICE, doc.m_strDeviceId.c_str(), doc.m_dFirmware);
}

std::string TestTitleText(int slot, const TestDataType& test) {
    // A typed or imported test says so, as its readings carry no analyser ID.
    const bool typed = !test.m_Steps.empty() && IsTypedTest(test);
    return Fmt("Test %d  (", slot + 1) + TestTypeText(test.m_nTestType) + (typed ? ", " : "") +
           (typed ? LoadStr(IDS_MAN_ID_TEXT) : "") + ")\n";
}

const char* ThresholdModelName(int model) {
    switch (model) {
        case ModelMader:
            return LoadStr(IDS_MODEL_MADER);
        case ModelKeul:
            return LoadStr(IDS_MODEL_KEUL);
        case ModelSimon:
            return LoadStr(IDS_MODEL_SIMON);
        default:
            return "";
    }
}

const char* FitFunctionName(int fit) {
    switch (fit) {
        case FitCubic:
            return LoadStr(IDS_FIT_POLYNOMIAL);
        case FitSpline:
            return LoadStr(IDS_FIT_SPLINES);
        default:
            return "";
    }
}

std::string TestInfoText(const TestDataType& test, const TestAnalysis& choice) {
    COleDateTime first(0.0, COleDateTime::null);
    if (!test.m_Steps.empty()) first = test.m_Steps.front().m_Time;
    const std::string date = first.FormatDate();
    const std::string time = first.FormatTime();
    const char* model = ThresholdModelName(choice.m_nThresholdModel);
    const char* fit = FitFunctionName(choice.m_nFitFunction);
    if (test.m_nTestType == TestField)
        return FmtId(IDS_PRN_TEST_FIELD, date.c_str(), time.c_str(), model, fit, test.m_dTrackLength);
    return FmtId(IDS_PRN_TEST, date.c_str(), time.c_str(), model, fit);
}

}  // namespace trv
