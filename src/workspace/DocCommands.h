#pragma once
// The document commands of the workspace. Each takes a snapshot of what it may touch before its
// first run and after it; undo and redo put the snapshot back, so that a round trip gives the
// document byte for byte as it was.
#include "data/Records.h"
#include "data/TRVDoc.h"
#include "workspace/Command.h"
#include "workspace/MeasurementEdit.h"
#include "workspace/TestAnalyses.h"
#include "workspace/TestParamRules.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trv {

// What a snapshot holds: one test (by index), the athlete record, or everything the document
// owns except its path (for commands that add, remove or reorder tests).
enum class SnapshotScope { Test, Athlete, Document };

class CSnapshotCommand : public CDocCommand {
public:
    bool Do(CTRVDoc& doc) final;
    void Undo(CTRVDoc& doc) final {
        Restore(doc, m_Before);
        Restored(doc, false);
    }
    void Redo(CTRVDoc& doc) final {
        Restore(doc, m_After);
        Restored(doc, true);
    }
    int NameId() const override { return m_nNameId; }
    uint32_t Changes() const override { return m_nChanges; }

protected:
    CSnapshotCommand(SnapshotScope scope, int test, int nameId, uint32_t changes)
        : m_nTest(test), m_eScope(scope), m_nNameId(nameId), m_nChanges(changes) {}
    // Changes the document; false refuses (the document is then put back as it was).
    virtual bool Apply(CTRVDoc& doc) = 0;
    // The snapshot before (`after` false) or after the command is back: what the command changed
    // beside the document follows.
    virtual void Restored(const CTRVDoc& /*doc*/, bool /*after*/) {}

    int m_nTest;  // the test of a test-scope command

private:
    struct Snapshot {
        std::vector<TestDataType> tests;  // one test, or all of them
        std::vector<PCMDataType> downloaded;
        UserDataType user;
        std::string deviceId;
        double firmware = 0.0;
        bool bound = false;
        std::vector<uint16_t> deletedIds;
    };
    Snapshot Take(const CTRVDoc& doc) const;
    void Restore(CTRVDoc& doc, const Snapshot& s) const;

    SnapshotScope m_eScope;
    int m_nNameId;
    uint32_t m_nChanges;
    Snapshot m_Before, m_After;
};

// Shows a step test in the chart (all its step readings ticked) or hides it (none ticked).
// Refused: a single reading, a third shown test, a test already in that state.
class CShowTestCommand : public CSnapshotCommand {
public:
    CShowTestCommand(int test, bool show);

private:
    bool Apply(CTRVDoc& doc) override;
    bool m_bShow;
};

// Hides every shown test ("R").
class CHideAllTestsCommand : public CSnapshotCommand {
public:
    CHideAllTestsCommand();

private:
    bool Apply(CTRVDoc& doc) override;
};

// Ticks or unticks a reading of a test; a single reading is never ticked.
class CTickMeasurementCommand : public CSnapshotCommand {
public:
    CTickMeasurementCommand(int test, int meas, bool checked);

private:
    bool Apply(CTRVDoc& doc) override;
    int m_nMeas;
    bool m_bChecked;
};

// PrL, Ld or AFL for the selected readings (or the current one), then the loads again.
class CSetMeasTypeCommand : public CSnapshotCommand {
public:
    CSetMeasTypeCommand(int test, std::vector<int> rows, int current, int type);

private:
    bool Apply(CTRVDoc& doc) override;
    std::vector<int> m_Rows;
    int m_nCurrent, m_nType;
};

// "In Stufentest umwandeln": single readings of the given tests join into one step test.
class CConvertToStepTestCommand : public CSnapshotCommand {
public:
    explicit CConvertToStepTestCommand(std::vector<int> tests);
    int ResultTest() const { return m_nResult; }

private:
    bool Apply(CTRVDoc& doc) override;
    std::vector<int> m_Tests;
    int m_nResult = -1;
};

// OK in the test-parameter dialog: the dialog's values, parameters entered, loads again, and the
// fitting choice in `analyses` (undo puts the earlier choice back).
class CApplyTestParamsCommand : public CSnapshotCommand {
public:
    CApplyTestParamsCommand(int test, const CTestParamRules& rules, std::shared_ptr<CTestAnalyses> analyses);

private:
    bool Apply(CTRVDoc& doc) override;
    void Restored(const CTRVDoc& doc, bool after) override;
    CTestParamRules m_Rules;
    std::shared_ptr<CTestAnalyses> m_pAnalyses;
    TestAnalysis m_ChoiceBefore, m_ChoiceAfter;  // only fit function and model count
};

// OK in the athlete dialog.
class CApplyAthleteCommand : public CSnapshotCommand {
public:
    explicit CApplyAthleteCommand(UserDataType user);

private:
    bool Apply(CTRVDoc& doc) override;
    UserDataType m_User;
};

// A typed cell of the measurement list; a refused text leaves no trace.
class CEditCellCommand : public CSnapshotCommand {
public:
    CEditCellCommand(int test, int meas, int column, std::string text);
    const MeasEditResult& Result() const { return m_Result; }

private:
    bool Apply(CTRVDoc& doc) override;
    int m_nMeas, m_nColumn;
    std::string m_strText;
    MeasEditResult m_Result;
};

// The analyser's memory merged into the document, which is then bound to that analyser. Refused
// when the document is bound to another analyser.
class CMergeDownloadCommand : public CSnapshotCommand {
public:
    // `slots`: every slot of the analyser's memory, decoded, in slot order.
    CMergeDownloadCommand(std::vector<PCMDataType> slots, std::string deviceId, double firmware);

private:
    bool Apply(CTRVDoc& doc) override;
    std::vector<PCMDataType> m_Slots;
    std::string m_strDeviceId;
    double m_dFirmware;
};

// The document's binding rule: the analyser the document is bound to (false: none yet, any analyser
// may fill it), and whether a download from the analyser `deviceId` may go into it.
bool BoundIdentity(const CTRVDoc& doc, std::string& deviceId, double& firmware);
bool AcceptsAnalyser(const CTRVDoc& doc, const std::string& deviceId);

}  // namespace trv
