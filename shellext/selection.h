// Reading what the shell selected: the first name of a drop list (with a
// drive letter mapped to a network drive turned into the drive's network
// name), the last item of a "Net Resource" block, and the local printer
// whose name the shell gives.
#pragma once

#include <windows.h>
#include <objidl.h>

#include "fx/fx_string.h"

// The first name of the drop list in `medium` (global memory holding a
// DROPFILES list, ANSI or wide) and the number of names. "X:..." on a
// drive connected to the network becomes the drive's remote name, plus "\"
// and the rest of the path below the root. 0 when the list cannot be read
// or the name is no AppleTalk name (AFPGetNameBitmap 0).
UINT GetFirstDroppedName(const STGMEDIUM& medium, CString& name);

// The remote name of the last item of a "Net Resource" block and the item
// count; 0 when the block is empty or malformed, or the last item's provider
// is not exactly "AppleTalk Network".
UINT GetNetResourceName(const STGMEDIUM& medium, CString& name);

// The local printer named exactly `printerName`: its port and name. FALSE
// when there is none.
BOOL FindPrinterPort(const char* printerName, CString& port, CString& printer);

// The network name of drive path `path` ("X:" or "X:\..."), or `path` itself
// when the drive is not connected to the network.
CString MapDriveToNetworkName(const CString& path);
