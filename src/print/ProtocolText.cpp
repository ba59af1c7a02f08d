#include "ProtocolText.h"

#include "Format.h"
#include "Strings.h"
#include "TRVDoc.h"

namespace trv {

std::string ProtocolHeaderText(const UserDataType& user, const COleDateTime& today) {
    return user.m_strFirstName + " " + user.m_strLastName + LoadStr(2140) + today.FormatDate();
}

std::string ProtocolFooterText(int page) { return std::string(LoadStr(2166)) + FmtId(2165, page); }

std::string AthleteText(const UserDataType& user) {
    const std::string birth = user.m_BirthDate.FormatDate();
    return FmtId(2146, user.m_strFirstName.c_str(), user.m_strLastName.c_str(), user.m_strStreet.c_str(),
                 user.m_strPostCode.c_str(), user.m_strTown.c_str(), user.m_strPhone.c_str(), user.m_strEmail.c_str(),
                 birth.c_str(), user.m_dWeight, user.m_dHeight, LoadStr(user.m_nSex == 0 ? 2151 : 2152));
}

std::string AnalyserText(const CTRVDoc& doc) { return FmtId(2143, doc.m_strDeviceId.c_str(), doc.m_dFirmware); }

std::string TestTitleText(int slot, const TestDataType& test) {
    return Fmt("Test %d  (", slot + 1) + TestTypeText(test.m_nTestType) + ")\n";
}

const char* ThresholdModelName(int model) {
    switch (model) {
        case ModelMader:
            return LoadStr(2103);
        case ModelKeul:
            return LoadStr(2104);
        case ModelSimon:
            return LoadStr(2105);
        default:
            return "";
    }
}

const char* FitFunctionName(int fit) {
    switch (fit) {
        case FitCubic:
            return LoadStr(2106);
        case FitSpline:
            return LoadStr(2219);
        default:
            return "";
    }
}

std::string TestInfoText(const TestDataType& test) {
    COleDateTime first(0.0, COleDateTime::null);
    if (!test.m_Steps.empty()) first = test.m_Steps.front().m_Time;
    const std::string date = first.FormatDate();
    const std::string time = first.FormatTime();
    const char* model = ThresholdModelName(test.m_Analysis.m_nThresholdModel);
    const char* fit = FitFunctionName(test.m_Analysis.m_nFitFunction);
    if (test.m_nTestType == TestField) return FmtId(2149, date.c_str(), time.c_str(), model, fit, test.m_dTrackLength);
    return FmtId(2154, date.c_str(), time.c_str(), model, fit);
}

}  // namespace trv
