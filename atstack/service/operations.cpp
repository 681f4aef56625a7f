#include <algorithm>
#include <iterator>

#include "operations.h"

namespace atsvc {

namespace {

// Every operation of the wire protocol (docs/stack.md lists their fields).
constexpr Operation kOperations[] = {
    {"hello", ops::Hello, false},
    {"mpp.alloc", ops::Note, false},
    {"mpp.free", ops::Note, false},
    {"note", ops::Note, false},
    {"tarpin.notify", ops::TarpinNotify, false},
    {"paptypes.generation", ops::PapTypesGeneration, false},

    {"at.netinfo", ops::NetInfo, false},
    {"at.setzone", ops::SetZone, false},
    {"zip.zones", ops::Zones, true},
    {"zip.myzone", ops::MyZone, false},
    {"nbp.lookup", ops::Lookup, true},
    {"pap.default.get", ops::GetDefaultPrinter, false},
    {"pap.default.set", ops::SetDefaultPrinter, false},

    {"pap.open", ops::PapOpen, true},
    {"pap.status", ops::PapStatus, true},
    {"pap.write", ops::PapWrite, true},
    {"pap.read", ops::PapRead, true},
    {"pap.close", ops::PapClose, false},
    {"pap.cancel", ops::PapCancel, false},

    {"afp.bitmap", ops::NameBitmap, true},
    {"afp.parse", ops::ParseName, true},
    {"afp.mapid", ops::MapId, true},
    {"afp.chpass", ops::ChangePassword, true},
    {"afp.fldr", ops::FileDirParams, true},
    {"afp.vol", ops::VolumeParams, true},
    {"afp.server", ops::ServerInfo, true},
};

}  // namespace

const Operation* FindOperation(std::string_view name)
{
    auto it = std::find_if(std::begin(kOperations), std::end(kOperations),
                           [&](const Operation& o) { return name == o.name; });
    return it == std::end(kOperations) ? nullptr : &*it;
}

}  // namespace atsvc
