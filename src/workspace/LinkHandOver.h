#pragma once
// A console link host (trv-cli, end-to-end tests) that hands the analyser's identity question and
// the received memory to a workspace: the download is merged as the window merges it, as a command.
#include "device/LinkLoop.h"
#include "workspace/Workspace.h"

namespace trv {

inline void HandLinkTo(CLinkLoop& loop, CWorkspace& ws) {
    loop.m_BoundIdentity = [&ws](std::string& id, double& firmware) { return ws.BoundIdentity(id, firmware); };
    loop.m_OnMemory = [&ws](const uint8_t* memory, const std::string& id, double firmware) {
        ws.MergeDownload(memory, id, firmware);
    };
}

}  // namespace trv
