// The handlers of the wire protocol's operations, one small function each,
// grouped by what they ask of the network. operations.cpp lists them in the
// table that Engine::Handle dispatches through; a new operation is a new
// handler here and one line in that table.
#pragma once

#include "request.h"

namespace atsvc::ops {

// op_session.cpp: the service itself
void Hello(Request& r);
void Ping(Request& r);
void Note(Request& r);
void EndEnum(Request& r);
void TarpinNotify(Request& r);
void PapTypesGeneration(Request& r);

// op_names.cpp: this node, NBP and ZIP, the default printer
void NetInfo(Request& r);
void SetZone(Request& r);
void Zones(Request& r);
void MyZone(Request& r);
void Lookup(Request& r);
void GetDefaultPrinter(Request& r);
void SetDefaultPrinter(Request& r);

// op_pap.cpp: PAP
void PapOpen(Request& r);
void PapStatus(Request& r);
void PapWrite(Request& r);
void PapRead(Request& r);
void PapClose(Request& r);
void PapCancel(Request& r);

// op_afp.cpp: AppleShare
void NameBitmap(Request& r);
void ParseName(Request& r);
void MapId(Request& r);
void ChangePassword(Request& r);
void FileDirParams(Request& r);
void VolumeParams(Request& r);
void ServerInfo(Request& r);

}  // namespace atsvc::ops
