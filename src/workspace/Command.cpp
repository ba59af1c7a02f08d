#include "workspace/Command.h"

namespace trv {

bool CCommandHistory::Run(CTRVDoc& doc, std::unique_ptr<CDocCommand> cmd) {
    if (!cmd || !cmd->Do(doc)) return false;
    m_Commands.resize(m_nPos);
    // The saved state was among the dropped entries: it cannot come back.
    if (m_nClean > static_cast<long>(m_nPos)) m_nClean = -1;
    m_Commands.push_back(std::move(cmd));
    ++m_nPos;
    return true;
}

const CDocCommand* CCommandHistory::Undo(CTRVDoc& doc) {
    if (!CanUndo()) return nullptr;
    CDocCommand* c = m_Commands[--m_nPos].get();
    c->Undo(doc);
    return c;
}

const CDocCommand* CCommandHistory::Redo(CTRVDoc& doc) {
    if (!CanRedo()) return nullptr;
    CDocCommand* c = m_Commands[m_nPos++].get();
    c->Redo(doc);
    return c;
}

}  // namespace trv
