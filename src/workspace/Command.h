#pragma once
// Every change of a document is a command: the workspace runs it once, the history keeps it, and
// undo and redo replay it backwards and forwards. Whether the document is modified follows from
// the history alone (its position against the clean mark of the last save).
//
// Adding a command:
//   1. Derive from CDocCommand (Command.h) or, usually simpler, from CSnapshotCommand
//      (DocCommands.h): pick the snapshot scope (one test, the athlete, or the whole document)
//      and write Apply(), which changes the document and returns false when it refuses (then the
//      document is restored and nothing enters the history).
//   2. Give it a German name in the string table (the menu shows "Rückgängig: <name>") and the
//      WorkspaceChange bits of what it touches, so that windows refresh only that.
//   3. Add a CWorkspace method that builds it and hands it to CWorkspace::Run(); the view's
//      handler calls that method and refreshes what it returns.
//   4. Add a round trip to tests/workspace/UndoTest.cpp: run, undo (file bytes as before),
//      redo (file bytes as after).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace trv {

class CTRVDoc;

// What a command (or its undo) changed, so that a window refreshes only that.
enum WorkspaceChange : uint32_t {
    ChangeNone = 0,
    ChangeTestList = 0x1,    // tests added, removed, reordered, shown or hidden: refill the test list
    ChangeMeasList = 0x2,    // measurements of a test: refill the measurement list
    ChangeChart = 0x4,       // evaluate and redraw the chart
    ChangeModified = 0x8,    // the modified state (window title) may have changed
    ChangeSelection = 0x10,  // the workspace moved the selection
    ChangeDevice = 0x20,     // the analyser bound to the document (device annotation)
    ChangeShown = 0x40,      // the set of shown tests: the chart's series start over
    ChangeAll = 0x7F,
};

class CDocCommand {
public:
    virtual ~CDocCommand() = default;
    // First run. False: the command refused and left the document exactly as it was.
    virtual bool Do(CTRVDoc& doc) = 0;
    virtual void Undo(CTRVDoc& doc) = 0;
    virtual void Redo(CTRVDoc& doc) = 0;
    // String-table id of the command's German name.
    virtual int NameId() const = 0;
    virtual uint32_t Changes() const = 0;
};

// The undo stack of one document (shared by all windows on it).
class CCommandHistory {
public:
    // Runs `cmd` on `doc`; on success it becomes the newest entry (entries that had been undone are
    // dropped). Returns whether it ran.
    bool Run(CTRVDoc& doc, std::unique_ptr<CDocCommand> cmd);
    // The command undone or redone, nullptr when there is none.
    const CDocCommand* Undo(CTRVDoc& doc);
    const CDocCommand* Redo(CTRVDoc& doc);

    bool CanUndo() const { return m_nPos > 0; }
    bool CanRedo() const { return m_nPos < m_Commands.size(); }
    // Name ids of the commands undo and redo would replay next; 0 when none.
    int UndoNameId() const { return CanUndo() ? m_Commands[m_nPos - 1]->NameId() : 0; }
    int RedoNameId() const { return CanRedo() ? m_Commands[m_nPos]->NameId() : 0; }

    // The document as saved (or loaded) is the current state.
    void SetClean() { m_nClean = static_cast<long>(m_nPos); }
    // The saved state can no longer be reached by undo or redo (e.g. a document changed outside
    // the history).
    void SetDirty() { m_nClean = -1; }
    bool IsClean() const { return m_nClean == static_cast<long>(m_nPos); }
    size_t Count() const { return m_Commands.size(); }

private:
    std::vector<std::unique_ptr<CDocCommand>> m_Commands;
    size_t m_nPos = 0;  // commands [0, m_nPos) are applied
    long m_nClean = 0;  // -1: unreachable
};

}  // namespace trv
