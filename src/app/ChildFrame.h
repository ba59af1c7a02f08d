#pragma once
// A document window: one view on one document, in the main window's area. The main window talks
// to the view through it: the view's signals come out here, and what the main window asks of a
// document window (a test the history picked, the selection for a new document, new zones) goes in.
// Only this window reaches the view; the main window's files know it by name alone.
#include "view/window/CommandId.h"

#include <QMdiSubWindow>

#include <cstdint>
#include <vector>

class CDocHandle;
class CTRVView;
namespace trv {
class CWorkspace;
struct TransferSlot;
struct ZoneSettings;
}  // namespace trv

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CDocHandle* doc, QWidget* parent = nullptr);
    CTRVView* View() const { return m_pView; }
    CDocHandle* Doc() const { return m_pDoc; }
    void UpdateTitle(int number, int count);

    // Where the view's context menus find the main window's actions.
    void SetCommands(CommandLookup commands);
    // The test picked in the history is selected and shown.
    void ShowHistoryTest(int test);
    // The selected tests, for "Neu mit ausgewählten Tests".
    void FillTransferSlot(trv::TransferSlot& slot) const;
    // The training zones changed: the thresholds and the chart follow.
    void ApplyZoneSettings(const trv::ZoneSettings& zones);
    // The uncertainty settings changed: the shown tests' intervals, flags and chart follow.
    void ApplyUncertaintySettings();
    // The document's workspace (its commands), and showing what a command changed (Change bits).
    trv::CWorkspace& Workspace() const;
    void Refresh(uint32_t changes);
    // The tests selected in the test list, by index.
    std::vector<int> SelectedTests() const;
    // "Zugeordnete Tests ausblenden": the test list hides the tests assigned to the library.
    void SetHideAssigned(bool hide);

signals:
    // The view's: a command's enable or check state may have changed; a line for the status bar.
    void commandStateChanged();
    void statusMessage(const QString& text);
    // Asked before the window closes; `allow` may be set to false (the save question was cancelled).
    void closeRequested(CChildFrame* frame, bool& allow);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    CDocHandle* m_pDoc;
    CTRVView* m_pView;
};
